# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Shell helpers shared by the project's scripts; source it, do not run it.

# Qt and D-Bus want a private runtime folder (mode 700); CI and root shells often have none.
vup_ensure_runtime_dir() {
    if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
        export XDG_RUNTIME_DIR="$(mktemp -d /tmp/vup-runtime.XXXXXX)"
    fi
    chmod 700 "$XDG_RUNTIME_DIR"
}

# vup_serve_library LIBRARY [PHOTOAPP]: starts `photoapp serve LIBRARY` in the background (the
# build's photoapp unless another is named), sets PHOTOAPP_PID, and waits (10 s at most) until it
# owns its bus name. Stop it by that pid: a D-Bus server outlives its bus.
vup_serve_library() {
    "${2:-build/photoapp/photoapp}" serve "$1" 2>/dev/null &
    PHOTOAPP_PID=$!
    for _ in $(seq 100); do
        gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
            --method org.freedesktop.DBus.NameHasOwner com.apple.iPhoto 2>/dev/null | grep -q true && return 0
        kill -0 "$PHOTOAPP_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# vup_bench_ready PATH: sets BENCH to the built benchmark PATH under BUILD_DIR (default build) and
# prepares the runtime folder; a benchmark that was not built ends the script with a hint.
vup_bench_ready() {
    BENCH="${BUILD_DIR:-build}/$1"
    if [ ! -x "$BENCH" ]; then
        echo "no $BENCH: build first (scripts/setup.sh or cmake --build ${BUILD_DIR:-build})" >&2
        exit 1
    fi
    vup_ensure_runtime_dir
}

# vup_virtual_screen WxHxDEPTH ARGS...: from a screenshot script, checks the tools such scripts use
# and runs the script again (with ARGS) on a virtual X server and a session bus of its own; inside
# that session it returns at once.
vup_virtual_screen() {
    local screen="$1" tool
    shift
    [ -n "${VUP_SCREENSHOT_SESSION:-}" ] && return 0
    for tool in xvfb-run openbox xdotool xprop xwininfo import; do
        command -v "$tool" >/dev/null || {
            echo "$(basename "$0"): $tool is missing (apt-get install xvfb xauth openbox xdotool x11-utils imagemagick)" >&2
            exit 1
        }
    done
    vup_ensure_runtime_dir
    # The pictures show the English texts, and the scripts find windows by their English titles
    # and press the English mnemonics, whatever language the caller's session speaks.
    unset LANGUAGE LC_MESSAGES
    export LC_ALL=C.UTF-8
    export VUP_SCREENSHOT_SESSION=1
    exec xvfb-run -a -s "-screen 0 $screen" dbus-run-session -- "$0" "$@"
}
