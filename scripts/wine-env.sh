#!/usr/bin/env bash
# The Wine test bed of one build tree: a private prefix, a virtual display and a persistent wineserver.
#   wine-env.sh ensure BUILD_DIR          create what is missing (safe to call from parallel tests)
#   wine-env.sh run BUILD_DIR EXE [ARG…]  run a Windows program in it (used as CTest's emulator)
#   wine-env.sh shell BUILD_DIR CMD [ARG…] run a Linux command with the bed's environment (DISPLAY, WINEPREFIX…)
#   wine-env.sh stop BUILD_DIR            end the wineserver and the display that this bed started, by pid
#   wine-env.sh displays BUILD_DIR 1|2    in a bed of two displays: unplug the second, or plug it back
#                                         (Wine sees it from the next program on, in a new session)
# MIRLKA_DISPLAY=:N uses that X display instead of starting a virtual one. MIRLKA_PREFIX_SEED=DIR
# keeps in DIR a copy of a new prefix as wineboot --init left it, and makes later new prefixes from
# that copy, as hard links (wineboot --init takes minutes under emulation).
# MIRLKA_LANG (default ja_JP.UTF-8) is the bed's locale, which sets the ANSI code page (en_US.UTF-8
# gives 1252, zh_CN.UTF-8 936); MIRLKA_DPI (default 96) its screen resolution, LogPixels (144 =
# 150%, 192 = 200%). Each combination other than the defaults has a prefix, display and wineserver
# of its own. MIRLKA_DISPLAYS=2 makes a bed of two displays on Xorg's dummy driver (Xvfb shows Wine
# only one; Xorg is started as root): the primary 1024x768 at 0,0 and a second 800x600 at 1024,0.
source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"
source "$(dirname "${BASH_SOURCE[0]}")/ui-font.sh"

cmd=${1:?command}; build=${2:?build dir}; shift 2
build=$(cd "$build" && pwd)
lang=${MIRLKA_LANG:-ja_JP.UTF-8}
dpi=${MIRLKA_DPI:-96}
state=$build/wine-env
[ "$lang" = ja_JP.UTF-8 ] || state+=-$lang
[ "$dpi" = 96 ] || state+=-${dpi}dpi
displays=${MIRLKA_DISPLAYS:-}
case $displays in '' | 2) ;; *) echo "wine-env: MIRLKA_DISPLAYS is 2 or unset" >&2; exit 2 ;; esac
[ -z "$displays" ] || state+=-${displays}displays
mkdir -p "$state"
xpid=$state/xvfb.pid
[ -z "$displays" ] || xpid=$state/xorg.pid

export WINEPREFIX=$state/prefix
# A build tree of 32-bit programs (it holds the file wine32) gets a 32-bit prefix and loader; all
# others the 64-bit ones, called directly: a kernel that runs no 32-bit code cannot start the
# 32-bit loader that the wine wrapper might pick.
if [ -f "$build/wine32" ]; then
    export WINEARCH=win32
    WINE=${MIRLKA_WINE32_LOADER:-/usr/lib/wine/wine}
    export WINESERVER=/usr/lib/wine/wineserver32
else
    export WINEARCH=win64
    WINE=/usr/lib/wine/wine64
    export WINESERVER=/usr/lib/wine/wineserver64
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=$lang LC_ALL=$lang

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

# Both displays shown (2), or the primary alone (1); the bed's display is the current one. A query
# then has the driver probe its outputs: until then the server reports a display switched back on
# as disconnected to Wine, which reads only the server's last known state.
set_displays() {
    if [ "$1" = 2 ]; then
        xrandr --fb 1824x768 --output DUMMY0 --mode 1024x768 --pos 0x0 --primary \
            --output DUMMY1 --mode 800x600d --pos 1024x0
    else
        xrandr --output DUMMY1 --off --fb 1024x768
    fi
    xrandr >/dev/null
}

start_xorg() {
    cat >"$state/xorg.conf" <<'EOF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 64000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 1824 768
    EndSubSection
EndSection
EOF
    setsid Xorg -displayfd 8 -config "$state/xorg.conf" -noreset -nolisten tcp \
        -logfile "$state/xorg.log" 8>"$state/display" 9>&- >"$state/xorg.out" 2>&1 </dev/null &
    echo $! >"$xpid"
}

start_display() {
    if [ -z "$displays" ] && [ -n "${MIRLKA_DISPLAY:-}" ]; then
        export DISPLAY=$MIRLKA_DISPLAY
        return
    fi
    if alive "$xpid" && [ -s "$state/display" ]; then
        export DISPLAY=:$(cat "$state/display")
        return
    fi
    rm -f "$state/display"
    # -displayfd lets the server pick a free display number and tell us which.
    if [ -n "$displays" ]; then
        start_xorg
    else
        setsid Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp -ac \
            8>"$state/display" 9>&- >"$state/xvfb.log" 2>&1 </dev/null &
        echo $! >"$xpid"
    fi
    for _ in $(seq 1 300); do
        [ -s "$state/display" ] && break
        sleep 0.1
    done
    [ -s "$state/display" ] || { echo "wine-env: the X server did not start" >&2; cat "$state"/x*.log >&2; exit 1; }
    local n; n=$(tr -dc '0-9' <"$state/display"); echo "$n" >"$state/display"
    export DISPLAY=:$n
    if [ -n "$displays" ]; then
        # The second display's mode, made once per server.
        xrandr --newmode 800x600d 38.25 800 832 912 1024 600 603 607 624 -hsync +vsync
        xrandr --addmode DUMMY1 800x600d
        set_displays 2
    fi
}

# The marker holds the dialog font the prefix was made with: another choice makes it anew.
init_prefix() {
    local marker=$WINEPREFIX/.mirlka-ready
    [ -f "$marker" ] && [ "$(cat "$marker")" = "$UI_FONT_FAMILY" ] && return
    rm -rf "$WINEPREFIX"
    if [ -n "${MIRLKA_PREFIX_SEED:-}" ] && [ -d "$MIRLKA_PREFIX_SEED" ]; then
        # Hard links, but for the files that Wine rewrites in place: the registry and the .ini files.
        cp -al "$MIRLKA_PREFIX_SEED" "$WINEPREFIX"
        (cd "$MIRLKA_PREFIX_SEED" && for f in *.reg .update-timestamp drive_c/windows/*.ini; do
            [ ! -f "$f" ] || cp --remove-destination "$f" "$WINEPREFIX/$f"
        done)
    else
        "$WINE" wineboot --init >"$state/wineboot.log" 2>&1
        "$WINESERVER" -w
        [ -z "${MIRLKA_PREFIX_SEED:-}" ] || cp -a "$WINEPREFIX" "$MIRLKA_PREFIX_SEED"
    fi
    # The loader called directly does not find Wine's own fonts: caption buttons need Marlett.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Outside Japanese, "MS Shell Dlg" is Tahoma, as on Windows.
    if [ "$lang" != ja_JP.UTF-8 ]; then
        cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    local subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    "$WINE" reg add "$subst" /v "ＭＳ Ｐゴシック" /d "$UI_FONT_FAMILY" /f >/dev/null
    "$WINE" reg add "$subst" /v "ＭＳ ゴシック" /d IPAGothic /f >/dev/null
    "$WINE" reg add "$subst" /v "MS UI Gothic" /d "$UI_FONT_FAMILY" /f >/dev/null
    [ "$lang" != ja_JP.UTF-8 ] || "$WINE" reg add "$subst" /v "MS Shell Dlg" /d "$UI_FONT_FAMILY" /f >/dev/null
    [ "$dpi" = 96 ] || "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    # Unmanaged windows close without the window manager's delay; no crash dialog may wait for a click.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null
    "$WINESERVER" -w
    echo "$UI_FONT_FAMILY" >"$marker"
}

ensure() {
    exec 9>"$state/lock"
    flock 9
    start_display
    init_prefix
    # One persistent server keeps every later wine start fast.
    if ! alive "$state/wineserver.pid"; then
        setsid "$WINESERVER" -f -p >/dev/null 2>&1 </dev/null 9>&- &
        echo $! >"$state/wineserver.pid"
        sleep 0.2
        # Wine's own background processes (services, explorer, device manager) start with the first
        # program and live as long as the server: give them no pipe of a caller to hold open.
        "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
    fi
    exec 9>&-
}

case $cmd in
ensure) ensure ;;
run)
    ensure
    exe=${1:?exe}; shift
    exec "$WINE" "$exe" "$@"
    ;;
shell)
    ensure
    exec "$@"
    ;;
displays)
    [ -n "$displays" ] || { echo "wine-env: displays wants MIRLKA_DISPLAYS=2" >&2; exit 2; }
    exec 9>"$state/lock"
    flock 9
    start_display
    # Wine reads the displays when its session starts: the bed's session ends first, and the next
    # Wine program starts a new one.
    if alive "$state/wineserver.pid"; then
        "$WINESERVER" -k 2>/dev/null || true
        for _ in $(seq 1 100); do alive "$state/wineserver.pid" || break; sleep 0.1; done
    fi
    rm -f "$state/wineserver.pid"
    set_displays "${1:?1 or 2}"
    ;;
stop)
    if alive "$state/wineserver.pid"; then
        # -k ends the server of this prefix together with every Wine process it serves.
        "$WINESERVER" -k 2>/dev/null || kill "$(cat "$state/wineserver.pid")" 2>/dev/null || true
    fi
    rm -f "$state/wineserver.pid"
    if { [ -n "$displays" ] || [ -z "${MIRLKA_DISPLAY:-}" ]; } && alive "$xpid"; then
        kill "$(cat "$xpid")" 2>/dev/null || true
    fi
    rm -f "$xpid" "$state/display"
    ;;
*) echo "wine-env: unknown command $cmd" >&2; exit 2 ;;
esac
