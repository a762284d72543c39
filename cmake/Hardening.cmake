# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiler and linker hardening as dpkg-buildflags gives it with every hardening feature on; the
# same flags, fixed, where dpkg-buildflags is missing. Only the hardening flags are taken: the
# optimisation and debug levels stay the build type's, and the build folder's path is kept out of
# the binaries another way.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS)
    set(hardeningFlags "")
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(APPEND hardeningFlags ${flags})
    endforeach()
else()
    set(hardeningFlags -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat -Werror=format-security
                       -Wl,-z,relro -Wl,-z,now)
endif()

set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
foreach(flag IN LISTS hardeningFlags)
    if(flag MATCHES "^-D_FORTIFY_SOURCE")
        # glibc warns, and -Werror fails, when fortification meets an unoptimised build.
        string(REGEX REPLACE "^-D" "" definition "${flag}")
        add_compile_definitions("$<${optimised}:${definition}>")
    elseif(flag MATCHES "^-fstack-|^-fcf-protection|^-Wformat|^-Werror=format")
        add_compile_options(${flag})
    elseif(flag MATCHES "^-Wl,-z,")
        add_link_options(${flag})
    endif()
endforeach()
