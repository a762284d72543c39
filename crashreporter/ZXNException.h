/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <stdexcept>

// What the crash reporter raises: a failed parameter check or missing configuration. It carries a
// name and a reason so that whoever catches it can log both.
class ZXNException : public std::runtime_error {
public:
    ZXNException(const QString& name, const QString& reason);

    const QString& name() const { return exceptionName; }
    const QString& reason() const { return exceptionReason; }

private:
    QString exceptionName;
    QString exceptionReason;
};

inline constexpr const char* kParameterCheckExceptionName = "ZXNInvalidParameterException";
inline constexpr const char* kParameterCheckReasonFormat = "Invalid parameter not satisfying: %1";

// Raises the parameter-check failure for `condition` (written as the check reads, for example
// "nil != crashLogPath") unless `satisfied`.
void checkParameter(bool satisfied, const char* condition);
