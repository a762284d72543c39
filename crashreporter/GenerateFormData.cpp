/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/GenerateFormData.h"

#include "crashreporter/ZXNException.h"
#include "platform/SystemLog.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>
#include <array>

namespace {

constexpr const char* kCRLF = "\r\n";
constexpr const char* kTextPartType = "Content-Type: text/plain; charset=utf-8\r\n";
constexpr const char* kFilePartType = "Content-Type: application/octet-stream\r\n";
constexpr const char* kIllegalValueFormat =
    "ZXNCrashReporterError: formValues contained illegal object %1 of class %2";

QByteArray headerName(const QString& name) {
    QByteArray bytes = name.toUtf8();
    bytes.replace('"', "%22").replace('\r', "%0D").replace('\n', "%0A");
    return bytes;
}

QByteArray textDisposition(const QString& name) {
    return "Content-Disposition: form-data; name=\"" + headerName(name) + "\"\r\n" + kTextPartType + kCRLF;
}

QByteArray filePart(const QString& name, const QString& fileName, const QByteArray& contents) {
    return "Content-Disposition: form-data; name=\"" + headerName(name) + "\"; filename=\"" +
           headerName(fileName) + "\"\r\n" + kFilePartType + kCRLF + contents;
}

std::optional<QByteArray> numberText(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return QByteArray(value.toBool() ? "1" : "0");
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return QByteArray::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        return QByteArray::number(value.toULongLong());
    default:
        return std::nullopt;
    }
}

QString describe(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QUrl)
        return value.toUrl().toString();
    QString text;
    QDebug(&text).noquote().nospace() << value;
    return text;
}

} // namespace

std::optional<QByteArray> GenerateFormData(const QVariantMap& formValues, const QString& boundary,
                                           QString* readError) {
    checkParameter(!boundary.isNull(), "nil != boundary");
    const QByteArray boundaryBytes = boundary.toUtf8();
    QByteArray body;
    for (auto it = formValues.constBegin(); it != formValues.constEnd(); ++it) {
        const QVariant& value = it.value();
        body += "--" + boundaryBytes + kCRLF;
        if (value.metaType().id() == QMetaType::QString) {
            body += textDisposition(it.key());
            body += value.toString().toUtf8();
        } else if (const auto number = numberText(value)) {
            body += textDisposition(it.key());
            body += *number;
        } else if (value.metaType().id() == QMetaType::QUrl && value.toUrl().isLocalFile()) {
            const QString path = value.toUrl().toLocalFile();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                if (readError)
                    *readError = QStringLiteral("%1: %2").arg(path, file.errorString());
                return std::nullopt;
            }
            const QByteArray contents = file.readAll();
            if (file.error() != QFileDevice::NoError) {
                if (readError)
                    *readError = QStringLiteral("%1: %2").arg(path, file.errorString());
                return std::nullopt;
            }
            body += filePart(it.key(), QFileInfo(path).fileName(), contents);
        } else if (value.metaType() == QMetaType::fromType<FormFile>()) {
            const auto file = value.value<FormFile>();
            body += filePart(it.key(), file.fileName, file.contents);
        } else {
            vupLog(QString::fromLatin1(kIllegalValueFormat)
                       .arg(describe(value), QString::fromLatin1(value.metaType().name())));
        }
        body += kCRLF;
    }
    body += "--" + boundaryBytes + "--" + kCRLF;
    return body;
}

QString randomFormBoundary() {
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(words.data()), sizeof words).toHex());
}

std::optional<FormBody> GenerateFormBody(const QVariantMap& formValues, QString* readError,
                                         const std::function<QString()>& drawBoundary) {
    // One delimiter line per value and the closing one: any other occurrence came from a value.
    const qsizetype delimiters = formValues.size() + 1;
    while (true) {
        const QString boundary = drawBoundary();
        auto bytes = GenerateFormData(formValues, boundary, readError);
        if (!bytes)
            return std::nullopt;
        if (bytes->count(boundary.toUtf8()) == delimiters)
            return FormBody{boundary, std::move(*bytes)};
    }
}
