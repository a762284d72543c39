#include "crashreporter/ZXNCrashReportSubmission.h"

#include "crashreporter/GenerateFormData.h"
#include "crashreporter/ZXNCrashReporter.h"
#include "platform/BundleInfo.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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
constexpr const char* kUnrecognisedResponse = "Unrecognized response from the server";
constexpr const char* kTimedOut = "The request timed out.";

QString key(const char* text) {
    return QString::fromLatin1(text);
}

template <typename T>
void addIfPresent(QVariantMap& fields, const char* name, const std::optional<T>& value) {
    if (value)
        fields.insert(key(name), QVariant::fromValue(*value));
}

} // namespace

ZXNCrashReportSubmission::ZXNCrashReportSubmission(QString crashLogPath, QUrl submissionURL, QObject* parent)
    : QObject(parent), logPath(std::move(crashLogPath)), url(std::move(submissionURL)),
      network(new QNetworkAccessManager(this)) {}

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

QNetworkRequest ZXNCrashReportSubmission::request(const QUrl& target, qsizetype bodyLength) {
    QNetworkRequest request(target);
    request.setRawHeader("Content-Type", key(kContentTypeFormat).arg(key(kBoundary)).toLatin1());
    request.setRawHeader("User-Agent", kUserAgent);
    request.setRawHeader("Content-Length", QByteArray::number(bodyLength));
    return request;
}

bool ZXNCrashReportSubmission::isRecognisedAnswer(const QByteArray& body) {
    return body == kRecognisedAnswer;
}

void ZXNCrashReportSubmission::sendCrashReport(const std::optional<QString>& emailAddress,
                                               const QString& comments) {
    const QVariantMap fields =
        reportFields(logPath, emailAddress, comments, systemInformation, QDateTime::currentDateTime());
    QString readError;
    const auto body = GenerateFormData(fields, key(kBoundary), &readError);
    if (!body) {
        // Nothing is posted: an empty upload answered "ok" would delete a log nobody received.
        QMetaObject::invokeMethod(
            this, [this, readError] { emit failed(readError); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest httpRequest = request(url, body->size());
    httpRequest.setTransferTimeout(transferTimeoutMs);
    if (_urlConnection) {
        _urlConnection->disconnect(this);
        _urlConnection->abort();
        _urlConnection->deleteLater();
    }
    _responseData.clear();
    _urlConnection = network->post(httpRequest, *body);
    connect(_urlConnection, &QNetworkReply::metaDataChanged, this,
            &ZXNCrashReportSubmission::connectionDidReceiveResponse);
    connect(_urlConnection, &QNetworkReply::readyRead, this,
            &ZXNCrashReportSubmission::connectionDidReceiveData);
    connect(_urlConnection, &QNetworkReply::finished, this, [this] {
        const QNetworkReply::NetworkError error = _urlConnection->error();
        const bool answered = _urlConnection->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
        // An HTTP error status with a body is an answer; only a failure of the transfer itself
        // (network, proxy, time-out) is an error.
        if (error == QNetworkReply::NoError || (answered && error >= QNetworkReply::ContentAccessDenied)) {
            connectionDidFinishLoading();
        } else if (error == QNetworkReply::OperationCanceledError) {
            connectionDidFailWithError(localized(kTimedOut));
        } else {
            connectionDidFailWithError(_urlConnection->errorString());
        }
    });
    emit sendingChanged(true);
}

void ZXNCrashReportSubmission::connectionDidReceiveResponse() {
    // A later response (after a redirect) replaces what an earlier one sent.
    _responseData.clear();
}

void ZXNCrashReportSubmission::connectionDidReceiveData() {
    _responseData += _urlConnection->readAll();
}

void ZXNCrashReportSubmission::connectionDidFinishLoading() {
    _responseData += _urlConnection->readAll();
    const bool recognised = isRecognisedAnswer(_responseData);
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
    if (_urlConnection) {
        _urlConnection->disconnect(this);
        _urlConnection->deleteLater();
        _urlConnection.clear();
    }
    _responseData.clear();
    emit sendingChanged(false);
}

void ZXNCrashReportSubmission::recordSuccessfulSubmission() {
    const QFileInfo info(logPath);
    const QDateTime modified = info.lastModified();
    // The date first: should deleting fail, the log is still never offered again.
    if (modified.isValid())
        UserDefaults::standard().setDate(key(ZXNCrashReporter::kLastCrashReportDateKey), modified);
    QFile log(logPath);
    if (!log.remove())
        vupLog(key(kDeleteFailedFormat).arg(info.fileName(), log.errorString()));
}
