/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <exception>

// An internal check that must always hold did not: raised instead of carrying on with lists that
// no longer line up with the photo list. The scan run catches it and ends cleanly.
class ConsistencyError : public std::exception {
public:
    ConsistencyError(QString operation, QString source, int line, QString description)
        : text(QStringLiteral("Assertion failure in %1, %2:%3: %4")
                   .arg(operation, source, QString::number(line), description)
                   .toUtf8()) {}
    const char* what() const noexcept override { return text.constData(); }
    QString message() const { return QString::fromUtf8(text); }

private:
    QByteArray text;
};
