#include "scan/AccessPrompt.h"

#include "platform/SystemLog.h"

namespace {

constexpr const char* kMessage =
    "Vup Requires read/write access to %1 in order to detect and recover zombies.\n"
    "Please select it or it's parent folder and hit the Open button.";
constexpr const char* kRefusal = "NSOpenPanel result = %1";

// Path components split the way the prompt needs them: a trailing separator does not count.
QString trimmed(const QString& path) {
    QString p = path;
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    return p;
}

} // namespace

namespace AccessPrompt {

QString message(const QString& path) {
    const QString p = trimmed(path);
    return QString::fromLatin1(kMessage).arg(p.mid(p.lastIndexOf(u'/') + 1));
}

QString initialFolder(const QString& path) {
    const QString p = trimmed(path);
    const qsizetype slash = p.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : p.left(slash);
}

void logRefusal(long result) {
    vupLog(QString::fromLatin1(kRefusal).arg(result));
}

} // namespace AccessPrompt
