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

# vup_window_named TITLE [SECONDS]: prints the id of the newest visible window whose title matches
# (a regular expression), waiting SECONDS (10) at most.
vup_window_named() {
    local id tries=$((${2:-10} * 10))
    for _ in $(seq "$tries"); do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "$(basename "$0"): no window \"$1\" appeared" >&2
    return 1
}

# vup_skip_info_sheet [LINE...]: Vup's settings for a user who has already dismissed the info
# sheet for good, under $XDG_CONFIG_HOME, with any further setting lines given.
vup_skip_info_sheet() {
    mkdir -p "$XDG_CONFIG_HOME/vup" "$XDG_DATA_HOME"
    printf '[General]\nskipInfoScreen=YES\n' >"$XDG_CONFIG_HOME/vup/Vup.conf"
    local line
    for line in "$@"; do printf '%s\n' "$line" >>"$XDG_CONFIG_HOME/vup/Vup.conf"; done
}

# vup_darktable_lua CHUNK: runs a Lua chunk in the darktable of the session bus and prints its
# answer. The chunk goes over as a GVariant string literal and the answer is read back from one.
vup_darktable_lua() {
    local literal answer
    literal="$(python3 -c 'import sys; print(repr(sys.argv[1]))' "$1")"
    answer="$(gdbus call --session --dest org.darktable.service --object-path /darktable \
        --method org.darktable.service.Remote.Lua "$literal")" || return 1
    python3 -c 'import ast, sys; print(ast.literal_eval(sys.argv[1])[0])' "$answer"
}

# vup_start_darktable WORK: starts darktable on $DISPLAY with its configuration, cache and library
# (WORK/library.db) under WORK and its output in WORK/darktable.log, sets DARKTABLE_PID, and waits
# (60 s at most) until it answers Lua. Stop it by that pid.
vup_start_darktable() {
    GDK_BACKEND=x11 NO_AT_BRIDGE=1 darktable --configdir "$1/config" --cachedir "$1/cache" \
        --library "$1/library.db" --disable-opencl >"$1/darktable.log" 2>&1 &
    DARKTABLE_PID=$!
    for _ in $(seq 120); do
        [ "$(vup_darktable_lua 'return "up"' 2>/dev/null)" = up ] && return 0
        kill -0 "$DARKTABLE_PID" 2>/dev/null || break
        sleep 0.5
    done
    echo "darktable did not answer Lua; see $1/darktable.log" >&2
    return 1
}

# vup_stop_darktable: asks the darktable started by vup_start_darktable to quit (it can hang on a
# plain SIGTERM) and kills it after 10 s.
vup_stop_darktable() {
    [ -n "${DARKTABLE_PID:-}" ] || return 0
    gdbus call --session --dest org.darktable.service --object-path /darktable \
        --method org.darktable.service.Remote.Quit >/dev/null 2>&1 || true
    for _ in $(seq 50); do
        kill -0 "$DARKTABLE_PID" 2>/dev/null || break
        sleep 0.2
    done
    kill -KILL "$DARKTABLE_PID" 2>/dev/null || true
    wait "$DARKTABLE_PID" 2>/dev/null || true
    DARKTABLE_PID=
}

# vup_fill_darktable PICTURES: the demo's darktable library. 20 distinct JPEGs (photoapp's demo
# pictures) in two film-roll folders under PICTURES, each imported where it lies through Lua; then
# 3 of them deleted and 2 files added that darktable never imported. Prints the count imported.
vup_fill_darktable() {
    local pictures="$1" n=0 folder jpeg
    case "$pictures" in *']]'*)
        echo "the pictures' folder must not contain ]]" >&2
        return 1
        ;;
    esac
    rm -rf "$pictures" && mkdir -p "$pictures/2024 Lakes" "$pictures/2025 Garden"
    build/photoapp/photoapp demo "$pictures/.source.photolibrary" --photos 20 --missing-images 0 \
        --missing-masters 0 --zombies 0 >/dev/null
    while IFS= read -r -d '' jpeg; do
        folder="$pictures/2024 Lakes"
        ((n >= 12)) && folder="$pictures/2025 Garden"
        cp "$jpeg" "$folder/IMG_$(printf '%04d' "$n").jpg"
        n=$((n + 1))
    done < <(find "$pictures/.source.photolibrary/Masters" -name '*.jpg' -print0 | sort -z)
    rm -rf "$pictures/.source.photolibrary"
    # One import per file; the folders go in as Lua long strings, which their names cannot close.
    vup_darktable_lua "local dt = require 'darktable'
local n = 0
for _, folder in ipairs({[[$pictures/2024 Lakes]], [[$pictures/2025 Garden]]}) do
  for i = 0, 19 do
    local p = string.format('%s/IMG_%04d.jpg', folder, i)
    local f = io.open(p, 'rb')
    if f then f:close() if dt.database.import(p) then n = n + 1 end end
  end
end
return tostring(n)"
    rm "$pictures/2024 Lakes/IMG_0002.jpg" "$pictures/2024 Lakes/IMG_0007.jpg" "$pictures/2025 Garden/IMG_0015.jpg"
    cp "$pictures/2024 Lakes/IMG_0000.jpg" "$pictures/2024 Lakes/IMG_0100.jpg"
    cp "$pictures/2025 Garden/IMG_0012.jpg" "$pictures/2025 Garden/IMG_0101.jpg"
}
