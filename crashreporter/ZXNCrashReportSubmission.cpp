/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/ZXNCrashReportSubmission.h"

#include "crashreporter/GenerateFormData.h"
#include "crashreporter/SendOnceBody.h"
#include "crashreporter/ZXNCrashReporter.h"
#include "platform/BundleInfo.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <unicode/udat.h>
#include <unicode/ustring.h>

namespace {

constexpr const char* kUserAgent = "ZXNCrashReporter";
constexpr const char* kContentTypeFormat = "multipart/form-data; boundary=%1";
constexpr const char* kRecognisedAnswer = "ok\n";
constexpr const char* kDeleteFailedFormat =
    "ZXNCrashReporter error: Unable to delete the submitted crash log (%1): %2";
constexpr const char* kUnrecognisedResponse =
    QT_TRANSLATE_NOOP("ZXNCrashReporter", "Unrecognized response from the server");
constexpr const char* kTimedOut = QT_TRANSLATE_NOOP("ZXNCrashReporter", "The request timed out.");
constexpr const char* kTookTooLong =
    QT_TRANSLATE_NOOP("ZXNCrashReporter", "The transfer took longer than allowed and was stopped.");
constexpr const char* kClosedWithoutAnswer =
    QT_TRANSLATE_NOOP("ZXNCrashReporter", "The server closed the connection without answering.");

QString key(const char* text) {
    return QString::fromLatin1(text);
}

template <typename T>
void addIfPresent(QVariantMap& fields, const char* name, const std::optional<T>& value) {
    if (value)
        fields.insert(key(name), QVariant::fromValue(*value));
}

} // namespace

ZXNCrashReportSubmission::ZXNCrashReportSubmission(OfferedCrashLog offeredLog, QUrl submissionURL,
                                                   QObject* parent)
    : QObject(parent), crashLog(std::move(offeredLog)), url(std::move(submissionURL)),
      network(new QNetworkAccessManager(this)) {
    wholeTransferDeadline.setSingleShot(true);
    connect(&wholeTransferDeadline, &QTimer::timeout, this, [this] {
        deadlinePassed = true;
        if (_urlConnection)
            _urlConnection->abort();
    });
}

ZXNCrashReportSubmission::~ZXNCrashReportSubmission() {
    if (_urlConnection) {
        _urlConnection->disconnect(this);
        _urlConnection->abort();
    }
}

QString ZXNCrashReportSubmission::localized(const char* text) {
    return QCoreApplication::translate("ZXNCrashReporter", text);
}

void ZXNCrashReportSubmission::registerDefaults() {
    UserDefaults::standard().registerDefaults(
        {{key(kIncludeSystemInformationKey), true}, {key(kIncludeEmailAddressKey), true}});
}

QString ZXNCrashReportSubmission::reportingLocale() {
    const QString localeKey = key(kReportingLocaleKey);
    if (const auto fromDefaults = UserDefaults::standard().stringForKey(localeKey);
        fromDefaults && !fromDefaults->isEmpty())
        return *fromDefaults;
    if (const auto fromBundle = BundleInfo::value(localeKey))
        return *fromBundle;
    return key(kFallbackReportingLocale);
}

QString ZXNCrashReportSubmission::reportDate(const QDateTime& when, const QString& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray localeId = locale.toUtf8();
    UDateFormat* format =
        udat_open(UDAT_MEDIUM, UDAT_MEDIUM, localeId.constData(), nullptr, -1, nullptr, -1, &status);
    if (U_FAILURE(status) || !format)
        return when.toString(Qt::ISODate);
    UChar buffer[256];
    const int32_t length = udat_format(format, static_cast<UDate>(when.toMSecsSinceEpoch()), buffer,
                                       static_cast<int32_t>(std::size(buffer)), nullptr, &status);
    udat_close(format);
    if (U_FAILURE(status))
        return when.toString(Qt::ISODate);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), length);
}

QVariantMap ZXNCrashReportSubmission::reportFields(const QString& crashLogPath,
                                                   const std::optional<QString>& emailAddress,
                                                   const QString& comments,
                                                   const ZXNSystemInformation& information,
                                                   const QDateTime& now) {
    const UserDefaults& defaults = UserDefaults::standard();
    QVariantMap fields;
    if (defaults.boolForKey(key(kIncludeSystemInformationKey))) {
        addIfPresent(fields, "machine", information.machine());
        addIfPresent(fields, "model", information.model());
        addIfPresent(fields, "physicalMemory", information.physicalMemory());
        addIfPresent(fields, "busFrequency", information.busFrequency());
        addIfPresent(fields, "CPUFrequency", information.CPUFrequency());
        addIfPresent(fields, "CPUFamily", information.CPUFamily());
        addIfPresent(fields, "CPUType", information.CPUType());
        addIfPresent(fields, "CPUSubtype", information.CPUSubtype());
        addIfPresent(fields, "numberOfCPUs", information.numberOfCPUs());
        addIfPresent(fields, "physicalCPUs", information.physicalCPUs());
        addIfPresent(fields, "logicalCPUs", information.logicalCPUs());
        addIfPresent(fields, "systemVersion", information.systemVersion());
        addIfPresent(fields, "systemBuildVersion", information.systemBuildVersion());
        fields.insert(QStringLiteral("systemInformationIncluded"), true);
    } else {
        fields.insert(QStringLiteral("systemInformationIncluded"), false);
    }
    if (defaults.boolForKey(key(kIncludeEmailAddressKey)) && emailAddress)
        fields.insert(QStringLiteral("emailAddress"), *emailAddress);
    if (!comments.isEmpty())
        fields.insert(QStringLiteral("comments"), comments);
    fields.insert(QStringLiteral("crashLog"), QUrl::fromLocalFile(crashLogPath));
    addIfPresent(fields, "applicationName", BundleInfo::value(key(BundleInfo::kValidatedTitle)));
    addIfPresent(fields, "applicationIdentifier", BundleInfo::value(key(BundleInfo::kBundleIdentifier)));
    addIfPresent(fields, "applicationVersion", BundleInfo::value(key(BundleInfo::kBundleVersion)));
    addIfPresent(fields, "applicationShortVersion", BundleInfo::value(key(BundleInfo::kShortVersion)));
    fields.insert(QStringLiteral("date"), reportDate(now, reportingLocale()));
    return fields;
}

QNetworkRequest ZXNCrashReportSubmission::request(const QUrl& target, qsizetype bodyLength,
                                                  const QString& boundary) {
    QNetworkRequest request(target);
    request.setRawHeader("Content-Type", key(kContentTypeFormat).arg(boundary).toLatin1());
    request.setRawHeader("User-Agent", kUserAgent);
    request.setRawHeader("Content-Length", QByteArray::number(bodyLength));
    // A redirection could carry the report, e-mail address and comments to another host.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // The body is read straight from a device that cannot be rewound, which needs the length above.
    request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
    return request;
}

bool ZXNCrashReportSubmission::isRecognisedAnswer(int httpStatus, const QByteArray& body) {
    const bool redirection = httpStatus >= 300 && httpStatus < 400;
    return !redirection && body == kRecognisedAnswer;
}

void ZXNCrashReportSubmission::sendCrashReport(const std::optional<QString>& emailAddress,
                                               const QString& comments) {
    QVariantMap fields = reportFields(crashLog.path(), emailAddress, comments, systemInformation,
                                      QDateTime::currentDateTime());
    // Read once, through the descriptor that was checked: what is sent is the file that was offered.
    QString readError;
    const auto log = crashLog.read(&readError);
    std::optional<FormBody> body;
    if (log) {
        fields.insert(QStringLiteral("crashLog"),
                      QVariant::fromValue(FormFile{crashLog.fileName(), log->bytes}));
        body = GenerateFormBody(fields, &readError);
    }
    if (!body) {
        // Nothing is posted: an empty upload answered "ok" would delete a log nobody received.
        QMetaObject::invokeMethod(
            this, [this, readError] { emit failed(readError); }, Qt::QueuedConnection);
        return;
    }
    sentLogModified = log->modified;
    QNetworkRequest httpRequest = request(url, body->bytes.size(), body->boundary);
    httpRequest.setTransferTimeout(transferLimits.silenceMs);
    if (_urlConnection) {
        _urlConnection->disconnect(this);
        _urlConnection->abort();
        _urlConnection->deleteLater();
    }
    _responseData.clear();
    answerTooLong = false;
    auto* upload = new SendOnceBody(std::move(body->bytes));
    _urlConnection = network->post(httpRequest, upload);
    upload->setParent(_urlConnection);
    // Qt holds no more than this of the answer unread: a server sending without end fills no memory.
    _urlConnection->setReadBufferSize(kAnswerLimit + 1);
    connect(_urlConnection, &QNetworkReply::metaDataChanged, this,
            &ZXNCrashReportSubmission::connectionDidReceiveResponse);
    connect(_urlConnection, &QNetworkReply::readyRead, this,
            &ZXNCrashReportSubmission::connectionDidReceiveData);
    connect(_urlConnection, &QNetworkReply::finished, this, &ZXNCrashReportSubmission::connectionDidFinish);
    deadlinePassed = false;
    wholeTransferDeadline.start(transferLimits.wholeTransferMs);
    emit sendingChanged(true);
}

void ZXNCrashReportSubmission::connectionDidFinish() {
    wholeTransferDeadline.stop();
    const QNetworkReply::NetworkError error = _urlConnection->error();
    const bool answered = _urlConnection->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    // An HTTP error status with a body is an answer; only a failure of the transfer itself
    // (network, proxy, time-out) is an error.
    if (answerTooLong) {
        connectionDidFailWithError(localized(kUnrecognisedResponse));
    } else if (error == QNetworkReply::NoError || (answered && error >= QNetworkReply::ContentAccessDenied)) {
        connectionDidFinishLoading();
    } else if (deadlinePassed) {
        connectionDidFailWithError(localized(kTookTooLong));
    } else if (error == QNetworkReply::OperationCanceledError) {
        connectionDidFailWithError(localized(kTimedOut));
    } else if (error == QNetworkReply::ContentReSendError) {
        // The client wanted to post again on a new connection; the body refused to be sent twice.
        connectionDidFailWithError(localized(kClosedWithoutAnswer));
    } else {
        connectionDidFailWithError(_urlConnection->errorString());
    }
}

void ZXNCrashReportSubmission::connectionDidReceiveResponse() {
    // Only the body of the last response counts.
    _responseData.clear();
}

void ZXNCrashReportSubmission::connectionDidReceiveData() {
    _responseData += _urlConnection->read(kAnswerLimit + 1 - _responseData.size());
    if (_responseData.size() > kAnswerLimit) {
        // Whatever follows cannot make the answer "ok\n" again: the transfer ends here.
        answerTooLong = true;
        _urlConnection->abort();
    }
}

void ZXNCrashReportSubmission::connectionDidFinishLoading() {
    _responseData += _urlConnection->read(kAnswerLimit + 1 - _responseData.size());
    const int status = _urlConnection->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool recognised = _responseData.size() <= kAnswerLimit && isRecognisedAnswer(status, _responseData);
    releaseTransfer();
    if (recognised) {
        recordSuccessfulSubmission();
        emit succeeded();
    } else {
        emit failed(localized(kUnrecognisedResponse));
    }
}

void ZXNCrashReportSubmission::connectionDidFailWithError(const QString& errorDescription) {
    releaseTransfer();
    emit failed(errorDescription);
}

void ZXNCrashReportSubmission::releaseTransfer() {
    wholeTransferDeadline.stop();
    if (_urlConnection) {
        _urlConnection->disconnect(this);
        _urlConnection->deleteLater();
        _urlConnection.clear();
    }
    _responseData.clear();
    emit sendingChanged(false);
}

void ZXNCrashReportSubmission::recordSuccessfulSubmission() {
    // The date first: should deleting fail, the log is still never offered again. A log dated in
    // the future must not move the date there, or every crash until then would go unreported.
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch(), Qt::UTC);
    if (sentLogModified.isValid())
        UserDefaults::standard().setDate(key(ZXNCrashReporter::kLastCrashReportDateKey),
                                         std::min(sentLogModified, now));
    QString failure;
    if (!crashLog.remove(&failure))
        vupLog(key(kDeleteFailedFormat).arg(crashLog.fileName(), failure));
}
