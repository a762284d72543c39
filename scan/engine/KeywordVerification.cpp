/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/KeywordVerification.h"

#include "bridge/iPhotoBridge.h"
#include "platform/BundleInfo.h"
#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QThread>

namespace {

const QString kMissingKeywordLine = QStringLiteral("\t%1\n");
// The menu entries it names are photoapp's: a translation names them as photoapp's translation does.
constexpr const char* kMissingKeywordsText = QT_TRANSLATE_NOOP(
    "KeywordVerification",
    "iPhoto is missing the following keywords:\n\n%1\nTo add keywords in iPhoto use the menu "
    "item Window->Manage My "
    "Keywords.  Then click \"Edit Keywords\".  There is a + button on the lower left which "
    "adds new keywords.\n\nYou "
    "may not continue without adding these keywords. Once you have, click on okay and %2 will "
    "check that they have "
    "been entered correctly.");
const QString kKeywordImageFile = QStringLiteral("iPhoto Keywords.jpg");

const QString kLogNotRunning = QStringLiteral("Keyword check stopped: the photo application is not running");
const QString kLogLost = QStringLiteral("Keyword check stopped: the photo application stopped answering");
const QString kLogCancelled = QStringLiteral("Keyword check stopped: the run was cancelled");
const QString kLogDeclined = QStringLiteral("Keyword check stopped: nobody can add the missing keywords");

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

KeywordVerification::KeywordVerification(std::shared_ptr<const iPhotoApplication> app, Calls c)
    : application(std::move(app)), calls(std::move(c)) {}

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
    return QCoreApplication::translate("KeywordVerification", kMissingKeywordsText).arg(list, product);
}

// One request for the whole list: a library holding many keywords would otherwise cost one round
// trip per keyword, at every round of the check.
QStringList KeywordVerification::keywordNames() const {
    return application->keywordNames();
}

// Bounded by the application's life and by the run: an application that quits, stops answering
// or is cancelled ends the wait.
void KeywordVerification::waitForImport() const {
    while (application->importing() && !mustStop(false))
        QThread::msleep(static_cast<unsigned long>(pollInterval.count()));
}

// A quit, lost or interrupted application answers no keywords: taking that for missing keywords
// would import the image again and ask the user for nothing.
bool KeywordVerification::mustStop(bool log) const {
    const QString* why = nullptr;
    if (calls.cancelled && calls.cancelled())
        why = &kLogCancelled;
    else if (application->lost())
        why = &kLogLost;
    else if (!application->isRunning())
        why = &kLogNotRunning;
    if (why && log)
        vupLog(*why);
    return why != nullptr;
}

bool KeywordVerification::verifyKeywords(const QStringList& keywords, const QString& product) {
    for (;;) {
        if (mustStop(true))
            return true;
        QStringList names = keywordNames();
        if (mustStop(true))
            return true;
        if (!missingOf(keywords, names).isEmpty()) {
            application->photoLibraryAlbum().importFrom(keywordImagePath(), true);
            waitForImport();
            if (mustStop(true))
                return true;
            names = keywordNames();
            if (mustStop(true))
                return true;
        }
        const QStringList missing = missingOf(keywords, names);
        if (missing.isEmpty())
            return false;
        if (!calls.askToAddKeywords || !calls.askToAddKeywords(missingKeywordsMessage(missing, product),
                                                               kMissingKeywordsTitle.shown())) {
            vupLog(kLogDeclined);
            return true;
        }
    }
}
