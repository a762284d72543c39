# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in the build folder turns the install rules into vup_<version>_<arch>.deb.
# Included from the top-level list so that CPack sees every install rule of the project.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vup)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Vup developers")
set(CPACK_PACKAGE_CONTACT "${VUP_SUPPORT_ADDRESS}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${VUP_PRODUCT_PAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find and repair photos whose files are gone")
# Lines of the long description stay under 80 characters, as Debian tools show them unwrapped.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Vup checks a photo library that a running photo application manages, over"
    "D-Bus. It tags or removes the photos whose image or original file is gone,"
    "and brings files that no photo refers to back into the library. It has a"
    "window, terminal commands and a crash reporter."
    ""
    "The package also holds photoapp, a photo application without a window that"
    "keeps a library and serves it on the session bus, for trying Vup out and"
    "for scripts.")
# Debian packages live under /usr whatever prefix a plain install would use.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vup developers <${VUP_SUPPORT_ADDRESS}>")
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# photoapp's catalogue driver is a Qt plug-in loaded at run time, which dpkg-shlibdeps cannot see.
# Both programs talk over a session bus, which every desktop has; Qt's own translations give its
# dialogs the language of the programs' own texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-dbus-session-bus | dbus-session-bus, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
