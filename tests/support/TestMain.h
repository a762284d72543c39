/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "tests/support/TestBus.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

// QTEST_MAIN variants that first start a private session bus for the whole executable.
#define VUP_TEST_MAIN_WITH_BUS(AppClass, TestObject)                                                         \
    int main(int argc, char** argv) {                                                                        \
        TestBus bus;                                                                                         \
        if (!bus.start())                                                                                    \
            return 2;                                                                                        \
        AppClass app(argc, argv);                                                                            \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

#define VUP_TEST_MAIN_CORE(TestObject) VUP_TEST_MAIN_WITH_BUS(QCoreApplication, TestObject)
#define VUP_TEST_MAIN_GUI(TestObject) VUP_TEST_MAIN_WITH_BUS(QApplication, TestObject)

// The program's texts in `language` (English when empty) for as long as `translator` lives: it
// leaves the application again when it goes. False when that language's catalogue did not load.
inline bool translateInto(QTranslator& translator, const QString& language) {
    return language.isEmpty() ||
           (translator.load(QStringLiteral("vup_") + language, QStringLiteral(VUP_TRANSLATIONS_DIR)) &&
            QCoreApplication::installTranslator(&translator));
}
