#include "bridge/KeywordVerification.h"

#include "bridge/iPhotoBridge.h"
#include "platform/BundleInfo.h"
#include "platform/SystemLog.h"
#include "scan/VupDelegate.h"

#include <QThread>

namespace {

const QString kMissingKeywordLine = QStringLiteral("\t%1\n");
const QString kMissingKeywordsText =
    QStringLiteral("iPhoto is missing the following keywords:\n\n%1\nTo add keywords in iPhoto use the menu "
                   "item Window->Manage My "
                   "Keywords.  Then click \"Edit Keywords\".  There is a + button on the lower left which "
                   "adds new keywords.\n\nYou "
                   "may not continue without adding these keywords. Once you have, click on okay and %2 will "
                   "check that they have "
                   "been entered correctly.");
const QString kKeywordImageFile = QStringLiteral("iPhoto Keywords.jpg");

const QString kLogNotRunning = QStringLiteral("Keyword check stopped: the photo application is not running");
const QString kLogCancelled = QStringLiteral("Keyword check stopped: the run was cancelled");

bool isPresent(const QString& keyword, const QStringList& names) {
    return names.contains(keyword, Qt::CaseInsensitive);
}

QStringList missingOf(const QStringList& keywords, const QStringList& names) {
    QStringList missing;
    for (const QString& keyword : keywords) {
        if (!isPresent(keyword, names))
            missing.append(keyword);
    }
    return missing;
}

} // namespace

const QString KeywordVerification::kMissingKeywordsTitle = QStringLiteral("Missing Keywords");

KeywordVerification::KeywordVerification(std::shared_ptr<const iPhotoApplication> app, VupDelegate* d)
    : application(std::move(app)), delegate(d) {}

void KeywordVerification::setPollInterval(std::chrono::milliseconds interval) {
    pollInterval = interval;
}

QString KeywordVerification::keywordImagePath() {
    return BundleInfo::resourceDirectory() + QLatin1Char('/') + kKeywordImageFile;
}

QString KeywordVerification::missingKeywordsMessage(const QStringList& missing, const QString& product) {
    QString list;
    for (const QString& keyword : missing)
        list += kMissingKeywordLine.arg(keyword);
    return kMissingKeywordsText.arg(list, product);
}

// One request for the whole list: a library holding many keywords would otherwise cost one round
// trip per keyword, at every round of the check.
QStringList KeywordVerification::keywordNames() const {
    return application->keywordNames();
}

// Bounded by the application's life: one that quits or stops answering ends the wait.
void KeywordVerification::waitForImport() const {
    while (application->importing() && application->isRunning())
        QThread::msleep(static_cast<unsigned long>(pollInterval.count()));
}

bool KeywordVerification::verifyKeywords(const QStringList& keywords, const QString& product) {
    for (;;) {
        // A quit application has no keywords to read: every round would end in the alert.
        if (!application->isRunning()) {
            vupLog(kLogNotRunning);
            return true;
        }
        QStringList names = keywordNames();
        if (!missingOf(keywords, names).isEmpty()) {
            application->photoLibraryAlbum().importFrom(keywordImagePath(), true);
            waitForImport();
            if (!application->isRunning()) {
                vupLog(kLogNotRunning);
                return true;
            }
            names = keywordNames();
        }
        const QStringList missing = missingOf(keywords, names);
        if (missing.isEmpty())
            return false;
        if (delegate)
            delegate->showModalAlert(missingKeywordsMessage(missing, product), kMissingKeywordsTitle);
        if (!delegate || delegate->cancelled()) {
            vupLog(kLogCancelled);
            return true;
        }
    }
}
