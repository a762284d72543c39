/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

// A file upload whose bytes were already read, for a caller that must send exactly what it read.
struct FormFile {
    QString fileName;
    QByteArray contents;
};
Q_DECLARE_METATYPE(FormFile)

// Encodes named values as a multipart/form-data body (RFC 7578), CR LF throughout.
// Values: text (QString), numbers (bool as "1"/"0", signed and unsigned integers in decimal) and
// local file URLs (QUrl::fromLocalFile), sent as an upload of the whole file under its file name,
// and FormFile, sent as an upload of the bytes it holds.
// Any other value is logged and sent as an empty part. Double quotes, CR and LF in field and file
// names are percent-escaped so that a name cannot break the header it sits in.
//
// A file that cannot be read makes the whole body fail: nothing is answered and `readError`
// receives the reason, so that an empty upload is never taken for the file.
std::optional<QByteArray> GenerateFormData(const QVariantMap& formValues, const QString& boundary,
                                           QString* readError = nullptr);

// A body and the boundary it was made with.
struct FormBody {
    QString boundary;
    QByteArray bytes;
};

// 32 hexadecimal digits from the system's random source: a sender cannot guess the next one.
QString randomFormBoundary();

// GenerateFormData with a boundary of its own, drawn by `drawBoundary` and drawn again whenever the
// body holds it anywhere but on its delimiter lines: a comment or a log that carried the boundary
// could otherwise end its part early and forge fields of its own.
std::optional<FormBody> GenerateFormBody(const QVariantMap& formValues, QString* readError = nullptr,
                                         const std::function<QString()>& drawBoundary = randomFormBoundary);
