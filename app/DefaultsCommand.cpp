/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// `vup defaults`: reads and changes the user defaults the application uses, in the store it
// reads them from. Booleans and dates are written in the form the application reads back.
#include "app/Commands.h"
#include "app/TerminalText.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDateTime>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "DefaultsCommand", "usage: vup defaults read [KEY]\n"
                       "       vup defaults write KEY [-string|-bool|-int|-date] VALUE\n"
                       "       vup defaults delete KEY\n"
                       "  -bool takes YES/NO, true/false or 1/0; -date takes ISO 8601 (for example\n"
                       "  2026-01-31T08:15:00.250Z) or \"now\".\n");

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

constexpr int kBadArguments = 2;
constexpr const char* kTypeFlags[] = {"-string", "-bool", "-int", "-date"};

int usage() {
    std::fputs(QCoreApplication::translate("DefaultsCommand", kUsage).toLocal8Bit().constData(), stderr);
    return kBadArguments;
}

// The reason first, then the usage, so that a mistyped command shows what it should have been.
int refuse(const QString& reason) {
    print(stderr, reason);
    return usage();
}

bool isTypeFlag(const QString& text) {
    return std::any_of(std::begin(kTypeFlags), std::end(kTypeFlags),
                       [&](const char* flag) { return text == QLatin1StringView(flag); });
}

QString textOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QStringList)
        return terminalSafe(value.toStringList().join(QStringLiteral(", ")));
    return terminalSafe(value.toString());
}

int read(const QStringList& args) {
    const UserDefaults& defaults = UserDefaults::standard();
    if (args.isEmpty()) {
        for (const QString& key : defaults.storedKeys())
            print(stdout, QStringLiteral("%1 = %2").arg(
                              terminalSafe(key), textOf(defaults.objectForKey(key).value_or(QVariant()))));
        return 0;
    }
    if (args.size() != 1)
        return usage();
    if (!defaults.hasStoredValue(args.first())) {
        print(stderr, QCoreApplication::translate("DefaultsCommand", "vup: the default \"%1\" does not exist")
                          .arg(terminalSafe(args.first())));
        return 1;
    }
    print(stdout, textOf(*defaults.objectForKey(args.first())));
    return 0;
}

std::optional<bool> parseBool(const QString& text) {
    const QString t = text.trimmed().toLower();
    if (t == u"yes" || t == u"true" || t == u"1")
        return true;
    if (t == u"no" || t == u"false" || t == u"0")
        return false;
    return std::nullopt;
}

int write(const QStringList& args) {
    if (args.size() != 2 && args.size() != 3)
        return usage();
    const QString& key = args.at(0);
    if (key.isEmpty())
        return refuse(QCoreApplication::translate("DefaultsCommand", "vup: a default needs a name"));
    // `write KEY -bool` lost its value: storing the text "-bool" would read back as NO. A text
    // that looks like a type is stored with `-string` in front of it.
    if (args.size() == 2 && isTypeFlag(args.at(1)))
        return refuse(QCoreApplication::translate("DefaultsCommand", "vup: %1 needs a value")
                          .arg(terminalSafe(args.at(1))));
    const QString type = args.size() == 3 ? args.at(1) : QStringLiteral("-string");
    if (!isTypeFlag(type))
        return usage();
    const QString& value = args.last();
    UserDefaults& defaults = UserDefaults::standard();
    if (type == u"-string") {
        defaults.setString(key, value);
    } else if (type == u"-bool") {
        const auto flag = parseBool(value);
        if (!flag)
            return refuse(
                QCoreApplication::translate("DefaultsCommand", "vup: \"%1\" is not a boolean (YES or NO)")
                    .arg(terminalSafe(value)));
        defaults.setBool(key, *flag);
    } else if (type == u"-int") {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok)
            return refuse(QCoreApplication::translate("DefaultsCommand", "vup: \"%1\" is not an integer")
                              .arg(terminalSafe(value)));
        defaults.setObject(key, number);
    } else {
        const QDateTime date = value == u"now" ? QDateTime::currentDateTimeUtc()
                                               : QDateTime::fromString(value, Qt::ISODateWithMs);
        if (!date.isValid())
            return refuse(
                QCoreApplication::translate("DefaultsCommand", "vup: \"%1\" is not an ISO 8601 date")
                    .arg(terminalSafe(value)));
        defaults.setDate(key, date);
    }
    defaults.synchronize();
    return 0;
}

int remove(const QStringList& args) {
    if (args.size() != 1)
        return usage();
    UserDefaults& defaults = UserDefaults::standard();
    if (!defaults.hasStoredValue(args.first())) {
        print(stderr, QCoreApplication::translate("DefaultsCommand", "vup: the default \"%1\" does not exist")
                          .arg(terminalSafe(args.first())));
        return 1;
    }
    defaults.removeObject(args.first());
    defaults.synchronize();
    return 0;
}

} // namespace

int runDefaultsCommand(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return usage();
    QStringList args;
    for (int i = 3; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const char* verb = argv[2];
    if (std::strcmp(verb, "read") == 0)
        return read(args);
    if (std::strcmp(verb, "write") == 0)
        return write(args);
    if (std::strcmp(verb, "delete") == 0)
        return remove(args);
    return usage();
}
