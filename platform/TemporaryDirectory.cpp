#include "platform/TemporaryDirectory.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace {

constexpr const char* kOwnFolder = "vup/tmp";

QString withoutTrailingSeparator(QString p) {
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

} // namespace

namespace TemporaryDirectory {

QString path() {
    const QByteArray fromEnv = qgetenv("TMPDIR");
    if (!fromEnv.isEmpty())
        return withoutTrailingSeparator(QDir(QFile::decodeName(fromEnv)).absolutePath());

    QString cache = QFile::decodeName(qgetenv("XDG_CACHE_HOME"));
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    const QString own = QDir::cleanPath(cache + QLatin1Char('/') + QLatin1StringView(kOwnFolder));
    if (!QDir().mkpath(own))
        return {};
    ::chmod(QFile::encodeName(own).constData(), S_IRWXU);
    return own;
}

} // namespace TemporaryDirectory
