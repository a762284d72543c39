/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "crashreporter/OfferedCrashLog.h"
#include "crashreporter/ZXNSystemInformation.h"
#include "platform/BundleInfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

// One crash report on its way to the server: the report's fields, the request, the answer test
// and, on a recognised answer, the persistent effects (stored date advanced, log deleted). Shared
// by the report window and `vup crash-report`. Lives on the main thread; the transfer's callbacks
// arrive there.
class ZXNCrashReportSubmission : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool sending READ isSending NOTIFY sendingChanged)

public:
    // Only "ok\n" is a recognised answer: more than this is not read, whatever the server sends.
    static constexpr qint64 kAnswerLimit = 4 * 1024;
    static constexpr const char* kIncludeSystemInformationKey =
        "ZXNCrashReporterIncludeAnonymousSystemInformation";
    static constexpr const char* kIncludeEmailAddressKey = "ZXNCrashReporterIncludeEmailAddress";
    // The same key in the user defaults and in the bundle information.
    static constexpr const char* kReportingLocaleKey = BundleInfo::kReportingLocale;
    static constexpr const char* kFallbackReportingLocale = "en_US";
    // A transfer fails after a minute without progress, and after ten minutes whatever its
    // progress: a server trickling its answer must not keep the report window busy forever.
    struct TransferLimits {
        int silenceMs = 60 * 1000;
        int wholeTransferMs = 10 * 60 * 1000;
    };
    // How the outcome is told, in the window's sheets and on the terminal alike.
    static constexpr const char* kSucceededTitle =
        QT_TRANSLATE_NOOP("ZXNCrashReporter", "The crash report was successfully submitted.");
    static constexpr const char* kFailedTitle =
        QT_TRANSLATE_NOOP("ZXNCrashReporter", "An error occurred while submitting the crash report.");
    static constexpr const char* kFailedMessageFormat =
        QT_TRANSLATE_NOOP("ZXNCrashReporter", "The error was: %1");

    ZXNCrashReportSubmission(OfferedCrashLog crashLog, QUrl submissionURL, QObject* parent = nullptr);
    ~ZXNCrashReportSubmission() override;

    // Installs the fallbacks of the two include settings (both on).
    static void registerDefaults();

    // The fields a report would carry now, with the user's settings as they stand.
    static QVariantMap reportFields(const QString& crashLogPath, const std::optional<QString>& emailAddress,
                                    const QString& comments, const ZXNSystemInformation& information,
                                    const QDateTime& now);
    static QString reportingLocale();
    // The crash reporter's texts in the user's language, the English text being the key.
    static QString localized(const char* text);
    // Medium date and medium time of `locale` in the current time zone.
    static QString reportDate(const QDateTime& when, const QString& locale);
    static QNetworkRequest request(const QUrl& url, qsizetype bodyLength, const QString& boundary);
    // Exactly "ok\n", under any status but a redirection (which is never followed: the report
    // goes to the configured server or nowhere).
    static bool isRecognisedAnswer(int httpStatus, const QByteArray& body);

    // Builds the report and starts the transfer; returns at once. The outcome arrives as exactly
    // one of succeeded() or failed(), also when the crash log cannot be read or is no longer the
    // offered file (then nothing is sent and nothing changes).
    void sendCrashReport(const std::optional<QString>& emailAddress, const QString& comments);
    // Also answers for the information of a report: a fresh reader of the running system unless
    // a test gives one of its own.
    void setSystemInformation(const ZXNSystemInformation& information) { systemInformation = information; }
    void setTransferLimits(TransferLimits limits) { transferLimits = limits; }

    bool isSending() const { return !_urlConnection.isNull(); }
    const QString& crashLogPath() const { return crashLog.path(); }
    const QUrl& submissionURL() const { return url; }

signals:
    void succeeded();
    void failed(const QString& errorDescription);
    void sendingChanged(bool sending);

private:
    void connectionDidReceiveResponse();
    void connectionDidReceiveData();
    void connectionDidFinishLoading();
    void connectionDidFailWithError(const QString& errorDescription);
    void connectionDidFinish();
    void releaseTransfer();
    void recordSuccessfulSubmission();

    OfferedCrashLog crashLog;
    QUrl url;
    ZXNSystemInformation systemInformation;
    TransferLimits transferLimits;
    QNetworkAccessManager* network;
    QPointer<QNetworkReply> _urlConnection;
    QByteArray _responseData;
    // Set when the answer grew past kAnswerLimit and the transfer was ended for it.
    bool answerTooLong = false;
    // Modification date of the log as it was read for sending.
    QDateTime sentLogModified;
    QTimer wholeTransferDeadline;
    bool deadlinePassed = false;
};
