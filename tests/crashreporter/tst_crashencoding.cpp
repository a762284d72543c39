/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// Machine facts and the multipart body: byte-exact encodings, escaping, and the hardware queries
// answered from a proc/sys/etc tree the test writes itself.
#include "crashreporter/GenerateFormData.h"
#include "crashreporter/ZXNSystemInformation.h"
#include "tests/support/FileTree.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <sys/utsname.h>

namespace {

const QString kBoundary = QStringLiteral("81e29ba4f957efe5916039f587fe3ed7");

QByteArray textPart(const QByteArray& name, const QByteArray& content) {
    return "--81e29ba4f957efe5916039f587fe3ed7\r\nContent-Disposition: form-data; name=\"" + name +
           "\"\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n" + content + "\r\n";
}

const QByteArray kClosing = "--81e29ba4f957efe5916039f587fe3ed7--\r\n";

// Answers a size of 0 for every query, as a broken kernel interface might.
class ZeroSizeQueries : public SysctlShim {
public:
    int sysctl(const int*, unsigned, void*, std::size_t* size) const override {
        *size = 0;
        return 0;
    }
};

} // namespace

class tst_CrashEncoding : public QObject {
    Q_OBJECT

private slots:
    // A boundary that occurs in a value would end that part early: another one is drawn. Each
    // drawn by default is new and unguessable.
    void boundaryOccursOnlyOnItsDelimiterLines() {
        QStringList draws{QStringLiteral("in-the-comments"), QStringLiteral("in-the-log"), kBoundary};
        const QVariantMap fields{
            {QStringLiteral("comments"), QStringLiteral("--in-the-comments\r\nforged")},
            {QStringLiteral("crashLog"), QVariant::fromValue(FormFile{QStringLiteral("l"), "x in-the-log"})}};
        const auto body = GenerateFormBody(fields, nullptr, [&] { return draws.takeFirst(); });
        QVERIFY(body && draws.isEmpty());
        QCOMPARE(body->boundary, kBoundary);
        QVERIFY(body->bytes.startsWith(textPart("comments", "--in-the-comments\r\nforged")));
        QVERIFY(body->bytes.endsWith(kClosing));
        const QString first = randomFormBoundary();
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(first).hasMatch());
        QVERIFY(first != randomFormBoundary());
    }

    void textAndNumbersAreByteExact_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("utf-8 text") << QVariant(QStringLiteral("Größe\r\nzwei"))
                                    << QByteArray("Gr\xc3\xb6\xc3\x9f"
                                                  "e\r\nzwei");
        QTest::newRow("negative 32-bit") << QVariant(qint32(-2147483647 - 1)) << QByteArray("-2147483648");
        QTest::newRow("64-bit") << QVariant(qint64(17179869184)) << QByteArray("17179869184");
    }

    void textAndNumbersAreByteExact() {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, content);
        const auto body = GenerateFormData({{QStringLiteral("field"), value}}, kBoundary);
        QVERIFY(body);
        QCOMPARE(*body, textPart("field", content) + kClosing);
    }

    // The report reads the offered log itself and hands the encoder its name and bytes; a file URL
    // is read by the encoder and gives the same part, or, unreadable, no body at all.
    void fileUploadCarriesNameAndBytes() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vup_2026-01-02-030405_host.crash"));
        const QByteArray contents("line one\nbinary \0\xff end", 22);
        QVERIFY(FileTree::write(path, contents));
        for (const QVariant& file : {QVariant(QUrl::fromLocalFile(path)),
                                     QVariant::fromValue(FormFile{QFileInfo(path).fileName(), contents})}) {
            const auto body = GenerateFormData(
                {{QStringLiteral("crashLog"), file}, {QStringLiteral("comments"), QStringLiteral("hi")}},
                kBoundary);
            QVERIFY(body);
            QCOMPARE(*body, textPart("comments", "hi") +
                                "--81e29ba4f957efe5916039f587fe3ed7\r\nContent-Disposition: form-data; "
                                "name=\"crashLog\"; filename=\"Vup_2026-01-02-030405_host.crash\"\r\n"
                                "Content-Type: application/octet-stream\r\n\r\n" +
                                contents + "\r\n" + kClosing);
        }
        QString error;
        QVERIFY(QFile::remove(path));
        QVERIFY(
            !GenerateFormData({{QStringLiteral("crashLog"), QUrl::fromLocalFile(path)}}, kBoundary, &error));
        QVERIFY2(error.contains(path), qPrintable(error));
    }

    void quotesAndLineBreaksInNamesAreEscaped() {
        const auto body =
            GenerateFormData({{QStringLiteral("na\"me\n"),
                               QVariant::fromValue(FormFile{QStringLiteral("a\"b\r\nc.crash"), "x"})}},
                             kBoundary);
        QVERIFY(body);
        QVERIFY(body->contains("name=\"na%22me%0A\"; filename=\"a%22b%0D%0Ac.crash\"\r\n"));
        // The only line breaks left are the body's own: delimiter, two headers, blank, content, closing.
        QCOMPARE(body->count("\r\n"), 6);
        QCOMPARE(body->count('\n'), 6);
    }

    // ---- machine facts ----

    // Each fact is read from the tree when it is asked for; one that cannot be read is absent and
    // leaves the others alone.
    void factsComeFromTheTreeTheyAreAskedOf() {
        QTemporaryDir root;
        const auto write = [&root](const char* file, const QByteArray& contents) {
            return FileTree::write(root.filePath(QString::fromLatin1(file)), contents);
        };
        QVERIFY(write("proc/meminfo", "MemFree:  100 kB\nMemTotal:       16384 kB\n"));
        // A family number with the top bit set reads back negative as 32 bits.
        QVERIFY(write("proc/cpuinfo",
                      "processor\t: 0\ncpu family\t: 4294967294\ncpu MHz\t\t: 2400.000\n"
                      "physical id\t: 0\ncore id\t\t: 0\n\n"
                      "processor\t: 1\ncpu family\t: 6\nphysical id\t: 0\ncore id\t\t: 0\n\n"
                      "processor\t: 2\ncpu family\t: 6\nphysical id\t: 0\ncore id\t\t: 1\n\n"));
        QVERIFY(write("sys/devices/system/cpu/present", "0-3\n"));
        QVERIFY(write("sys/devices/system/cpu/online", "0-1,3\n"));
        QVERIFY(write("sys/class/dmi/id/product_name", "Test Board 9\n"));
        QVERIFY(write("etc/os-release", "NAME=\"Test OS\"\nVERSION_ID=\"12\"\nBUILD_ID=b\\\"42\n"));
        const ZXNSystemInformation info(std::make_shared<SysctlShim>(root.path()), root.path());

        QCOMPARE(info.physicalMemory(), std::optional<qint64>(16384LL * 1024));
        QCOMPARE(info.numberOfCPUs(), std::optional<qint64>(4));
        QCOMPARE(info.logicalCPUs(), std::optional<qint64>(3));
        QCOMPARE(info.physicalCPUs(), std::optional<qint64>(2));
        QCOMPARE(info.CPUFamily(), std::optional<qint64>(-2));
        // Read as 64 bits the same 4 bytes leave the high half 0.
        QCOMPARE(info.int64ForSysctlName("hw.cpufamily"), std::optional<qint64>(4294967294LL));
        QCOMPARE(info.CPUFrequency(), std::optional<qint64>(2400000000LL));
        QCOMPARE(info.model(), std::optional<QString>(QStringLiteral("Test Board 9")));
        QCOMPARE(info.systemVersion(), std::optional<QString>(QStringLiteral("12")));
        QCOMPARE(info.systemBuildVersion(), std::optional<QString>(QStringLiteral("b\\\"42")));
        // What Linux has no notion of is absent, not 0.
        QCOMPARE(info.busFrequency(), std::nullopt);
        QCOMPARE(info.CPUSubtype(), std::nullopt);
        QCOMPARE(info.int64ForSysctlName("hw.nosuchthing"), std::nullopt);

        struct utsname names {};
        QCOMPARE(::uname(&names), 0);
        const auto machine = info.machine();
        QVERIFY(machine);
        QCOMPARE(*machine, QString::fromLatin1(names.machine));
        if (std::strcmp(names.machine, "x86_64") == 0)
            QCOMPARE(info.CPUType(), std::optional<qint64>(0x01000007));

        QVERIFY(write("etc/os-release", "VERSION_ID='2.5'\n"));
        QCOMPARE(info.systemVersion(), std::optional<QString>(QStringLiteral("2.5")));
        QVERIFY(write("usr/lib/os-release", "VERSION_ID=3\n"));
        for (const char* file : {"etc/os-release", "proc/meminfo", "proc/cpuinfo",
                                 "sys/devices/system/cpu/present", "sys/class/dmi/id/product_name"})
            QVERIFY(QFile::remove(root.filePath(QString::fromLatin1(file))));
        QCOMPARE(info.systemVersion(), std::optional<QString>(QStringLiteral("3")));
        QVERIFY(QFile::remove(root.filePath(QStringLiteral("usr/lib/os-release"))));
        QCOMPARE(info.systemVersion(), std::nullopt);
        QCOMPARE(info.physicalMemory(), std::nullopt);
        QCOMPARE(info.model(), std::nullopt);
        QCOMPARE(info.numberOfCPUs(), std::nullopt);
        QCOMPARE(info.physicalCPUs(), std::nullopt);
        QCOMPARE(info.CPUFrequency(), std::nullopt);
        QCOMPARE(info.logicalCPUs(), std::optional<qint64>(3));
    }

    // A buffer too small is refused as the system refuses it; a query answered with a size of 0
    // answers nothing.
    void queriesThatCannotBeAnswered() {
        const SysctlShim shim;
        const int mib[2] = {SysctlShim::kCtlHw, SysctlShim::kHwMachine};
        char tiny[1];
        std::size_t size = sizeof tiny;
        errno = 0;
        QCOMPARE(shim.sysctl(mib, 2, tiny, &size), -1);
        QCOMPARE(errno, ENOMEM);
        const ZXNSystemInformation info(std::make_shared<ZeroSizeQueries>(), QStringLiteral("/"));
        QCOMPARE(info.machine(), std::nullopt);
    }
};

VUP_TEST_MAIN_CORE(tst_CrashEncoding)
#include "tst_crashencoding.moc"
