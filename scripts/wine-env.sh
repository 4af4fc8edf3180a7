# Sourced by the scripts that run Windows binaries: a 32-bit Wine prefix under the
# build folder, a virtual display and one wineserver kept alive for the whole run.
# Call wine_env_start once; wine_env_stop runs on exit.

wine_env_start() {
    local build_dir=$1
    export WINEPREFIX="$build_dir/wineprefix"
    export WINEARCH=win32
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    export TZ=UTC

    if [ -z "${TARNWELL_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
        local n=90
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
        _tarnwell_xvfb=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
    fi
    trap wine_env_stop EXIT

    if [ ! -f "$WINEPREFIX/.tarnwell-ready" ]; then
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        # Segoe UI is not installed here; the skins ask for it by name.
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ \
            /d 'DejaVu Sans' /f >/dev/null 2>&1
        # With no window manager on the virtual display, Wine waits about two
        # seconds for a managed window to be withdrawn each time one is hidden;
        # unmanaged windows are unmapped at once.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.tarnwell-ready"
    fi
    wineserver -p
    # The first Windows process of a session starts Wine's services, which inherit
    # its standard handles; start them here with nothing attached, or ctest would
    # wait forever for the first test's output pipe to close.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${_tarnwell_xvfb:-}" ]; then
        kill "$_tarnwell_xvfb" 2>/dev/null || true
        wait "$_tarnwell_xvfb" 2>/dev/null || true
        _tarnwell_xvfb=
    fi
}
