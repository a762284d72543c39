/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/ZXNException.h"

ZXNException::ZXNException(const QString& name, const QString& reason)
    : std::runtime_error((name + QStringLiteral(": ") + reason).toStdString()), exceptionName(name),
      exceptionReason(reason) {}

void checkParameter(bool satisfied, const char* condition) {
    if (satisfied)
        return;
    throw ZXNException(QString::fromLatin1(kParameterCheckExceptionName),
                       QString::fromLatin1(kParameterCheckReasonFormat).arg(QString::fromLatin1(condition)));
}
