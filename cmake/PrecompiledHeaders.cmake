# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Qt's headers are most of what each of our small files costs to compile: parsing them once per
# library instead of once per file roughly halves a build from nothing (the demo's first run).
option(VUP_PRECOMPILED_HEADERS "Precompile the Qt headers the libraries share" ON)

set(VUP_PCH_CORE
    <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList>
    <QMutex> <QObject> <QSet> <QString> <QStringList> <QThread> <QTimer> <QUrl> <QVariant>
    <functional> <memory> <optional> <vector>)
set(VUP_PCH_WIDGETS ${VUP_PCH_CORE}
    <QApplication> <QLabel> <QMainWindow> <QMessageBox> <QPushButton> <QVBoxLayout> <QWidget>)

# vup_precompile(target core|widgets)
function(vup_precompile target kind)
    if(NOT VUP_PRECOMPILED_HEADERS)
        return()
    endif()
    if(kind STREQUAL "widgets")
        target_precompile_headers(${target} PRIVATE ${VUP_PCH_WIDGETS})
    else()
        target_precompile_headers(${target} PRIVATE ${VUP_PCH_CORE})
    endif()
endfunction()
