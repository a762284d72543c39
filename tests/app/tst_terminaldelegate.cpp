/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/TerminalDelegate.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestMain.h"

#include <QObject>
#include <QTest>
#include <cstdio>
#include <memory>

namespace {

// A delegate reading the given input and writing into a buffer the test reads back.
struct Terminal {
    explicit Terminal(const QByteArray& inputText, bool yes = false) : input(inputText) {
        in = fmemopen(input.data(), size_t(input.size()), "r");
        if (input.isEmpty())
            in = fopen("/dev/null", "r");
        out = open_memstream(&buffer, &length);
        TerminalDelegate::Options o;
        o.assumeYes = yes;
        delegate = std::make_unique<TerminalDelegate>(o, in, out);
    }
    ~Terminal() {
        delegate.reset();
        std::fclose(in);
        std::fclose(out);
        std::free(buffer);
    }
    QString written() {
        std::fflush(out);
        return QString::fromLocal8Bit(buffer, qsizetype(length));
    }
    QString rest() {
        char line[256] = {};
        return std::fgets(line, sizeof line, in) ? QString::fromLocal8Bit(line) : QString();
    }

    QByteArray input;
    std::FILE* in = nullptr;
    std::FILE* out = nullptr;
    char* buffer = nullptr;
    size_t length = 0;
    std::unique_ptr<TerminalDelegate> delegate;
};

} // namespace

// The terminal face of the delegate operations, driven through real streams: prompts answered
// on standard input, --yes, end of input, alerts and progress lines.
class tst_TerminalDelegate : public QObject {
    Q_OBJECT
private slots:
    void accessPrompt_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("refusals"); // "NSOpenPanel result = 0" lines logged
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("rest"); // what stays unread on standard input
        QTest::newRow("asks until yes") << QByteArray("n\n\nno\ny\nleft over\n") << false << 4 << 3
                                        << QStringLiteral("Read Access Required\nVup Requires read/write "
                                                          "access to Family.photolibrary in order to detect "
                                                          "and recover zombies.")
                                        << QStringLiteral("left over\n");
        QTest::newRow("end of input")
            << QByteArray("n\n") << false << 2 << 1 << QStringLiteral("standard input closed") << QString();
        QTest::newRow("--yes reads nothing")
            << QByteArray("keep me\n") << true << 0 << 0 << QString() << QStringLiteral("keep me\n");
    }

    void accessPrompt() {
        QFETCH(QByteArray, input);
        QFETCH(bool, yes);
        QFETCH(int, asked);
        QFETCH(int, refusals);
        QFETCH(QString, told);
        QFETCH(QString, rest);
        LogCapture log;
        Terminal t(input, yes);
        t.delegate->askForReadAccess(QStringLiteral("/srv/photos/Family.photolibrary"));
        if (yes)
            t.delegate->showModalAlert(QStringLiteral("text"), QStringLiteral("Error"));
        const QString out = t.written();
        QVERIFY2(out.contains(told), qPrintable(out));
        QCOMPARE(out.count(QStringLiteral("Open /srv/photos? [y/N] ")), asked);
        QCOMPARE(log.linesStartingWith(QStringLiteral("NSOpenPanel result = ")),
                 QStringList(refusals, QStringLiteral("NSOpenPanel result = 0")));
        QCOMPARE(t.rest(), rest);
    }

    void progressAsPlainLines() {
        Terminal t("");
        t.delegate->cfgProgressBarDeterminate();
        t.delegate->cfgProgressBarMaxValue(100);
        for (int i = 1; i <= 100; ++i)
            t.delegate->cfgProgressBarCurrentValue(i);
        t.delegate->stopAnimation();
        const QStringList lines = t.written().split(u'\n', Qt::SkipEmptyParts);
        // One line per tenth of the way, no carriage returns on a stream that is not a terminal.
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines.first(), QStringLiteral("1/100"));
        QCOMPARE(lines.last(), QStringLiteral("100/100"));
        QVERIFY(!t.written().contains(u'\r'));
    }
};

VUP_TEST_MAIN_GUI(tst_TerminalDelegate)
#include "tst_terminaldelegate.moc"
