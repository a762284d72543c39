/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/BundleInfo.h"

#include "platform/BundleInfoValues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <mutex>

namespace {

struct Overrides {
    std::mutex mutex;
    QHash<QString, std::optional<QString>> values;
};

Overrides& overrides() {
    static Overrides o;
    return o;
}

const QHash<QString, QString>& builtIn() {
    static const QHash<QString, QString> values{
        {QString::fromLatin1(BundleInfo::kBundleName), QStringLiteral(VUP_BUNDLE_NAME)},
        {QString::fromLatin1(BundleInfo::kValidatedTitle), QStringLiteral(VUP_BUNDLE_NAME)},
        {QString::fromLatin1(BundleInfo::kBundleIdentifier), QStringLiteral(VUP_BUNDLE_IDENTIFIER)},
        {QString::fromLatin1(BundleInfo::kShortVersion), QStringLiteral(VUP_BUNDLE_SHORT_VERSION)},
        {QString::fromLatin1(BundleInfo::kBundleVersion), QStringLiteral(VUP_BUNDLE_VERSION)},
        {QString::fromLatin1(BundleInfo::kSubmissionURL), QStringLiteral(VUP_CRASH_SUBMISSION_URL)},
        {QString::fromLatin1(BundleInfo::kReportingLocale), QStringLiteral(VUP_REPORTING_LOCALE)},
        {QString::fromLatin1(BundleInfo::kProductPage), QStringLiteral(VUP_PRODUCT_PAGE)},
        {QString::fromLatin1(BundleInfo::kSupportAddress), QStringLiteral(VUP_SUPPORT_ADDRESS)},
    };
    return values;
}

} // namespace

namespace BundleInfo {

std::optional<QString> value(const QString& key) {
    {
        Overrides& o = overrides();
        std::lock_guard lock(o.mutex);
        const auto it = o.values.constFind(key);
        if (it != o.values.constEnd())
            return *it;
    }
    const auto it = builtIn().constFind(key);
    if (it == builtIn().constEnd() || it->isEmpty())
        return std::nullopt;
    return *it;
}

void overrideValue(const QString& key, std::optional<QString> v) {
    Overrides& o = overrides();
    std::lock_guard lock(o.mutex);
    o.values.insert(key, std::move(v));
}

void resetOverrides() {
    Overrides& o = overrides();
    std::lock_guard lock(o.mutex);
    o.values.clear();
}

QString resourceDirectory() {
    const QByteArray fromEnv = qgetenv("VUP_RESOURCE_DIR");
    if (!fromEnv.isEmpty())
        return QString::fromLocal8Bit(fromEnv);
    // <prefix>/bin beside <prefix>/share/vup, wherever the prefix is: an install, a package
    // unpacked anywhere, and the build tree, which mirrors that layout (app/vup, share/vup).
    if (QCoreApplication::instance()) {
        const QString besideProgram =
            QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/vup"));
        if (QFileInfo::exists(besideProgram))
            return QDir::cleanPath(besideProgram);
    }
    return QStringLiteral(VUP_INSTALL_DATA_DIR);
}

} // namespace BundleInfo
