# Sourced by the scripts that run Windows binaries: a Wine prefix under the build
# folder, a virtual display and one wineserver kept alive for the whole run.
# Call wine_env_start once; wine_env_stop runs on exit.

# The architecture the tests run as. The product is 32-bit, and so are its tests
# wherever this machine runs 32-bit programs. Some kernels boot with 32-bit
# emulation switched off (ia32_emulation=off): there Wine's 32-bit loader cannot
# start ("Exec format error"), and the tests run a 64-bit build of the same
# sources under Wine's 64-bit loader instead. A 32-bit program that runs only
# through an emulator registered with binfmt_misc does not count: Wine under a
# user-mode emulator is too slow and loses wake-ups between threads.
# TARNWELL_TEST_ARCH=i686 or x86_64 overrides the choice.
tarnwell_test_arch() {
    if [ -n "${TARNWELL_TEST_ARCH:-}" ]; then
        echo "$TARNWELL_TEST_ARCH"
        return
    fi
    local entry
    for entry in /proc/sys/fs/binfmt_misc/*; do
        [ -f "$entry" ] || continue
        if grep -qx enabled "$entry" 2>/dev/null && grep -q '^magic 7f454c4601010100' "$entry" 2>/dev/null; then
            echo x86_64
            return
        fi
    done
    local probe
    probe=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1,%%eax\n xorl %%ebx,%%ebx\n int $0x80\n' >"$probe/t.s"
    if as --32 "$probe/t.s" -o "$probe/t.o" 2>/dev/null && ld -m elf_i386 "$probe/t.o" -o "$probe/t" 2>/dev/null \
        && "$probe/t" 2>/dev/null; then
        echo i686
    else
        echo x86_64
    fi
    rm -rf "$probe"
}

# wine_env_start BUILD_DIR [ARCH]: ARCH i686 (default) or x86_64.
wine_env_start() {
    local build_dir=$1 arch=${2:-i686}
    export WINEPREFIX="$build_dir/wineprefix"
    if [ "$arch" = x86_64 ]; then
        export WINEARCH=win64
        # The wine command starts the 32-bit loader wherever it is installed.
        local loader
        for loader in /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64; do
            [ -x "$loader" ] && break
        done
        mkdir -p "$build_dir/wine-bin"
        # A script, not a link: the loader finds its libraries from its own path.
        printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$build_dir/wine-bin/wine"
        chmod +x "$build_dir/wine-bin/wine"
        export WINELOADER=$loader
        export PATH="$build_dir/wine-bin:$PATH"
    else
        export WINEARCH=win32
    fi
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

    # The marker names what the prefix was set up with; a prefix of an older
    # set-up is made again.
    local ready="$WINEPREFIX/.tarnwell-ready-2"
    if [ ! -f "$ready" ]; then
        rm -rf "$WINEPREFIX"
        # A 64-bit prefix on a machine without 32-bit programs cannot set up its
        # 32-bit half and says so in its exit code; the prefix is usable.
        wine wineboot.exe -i >/dev/null 2>&1 || [ -f "$WINEPREFIX/system.reg" ]
        wineserver -w
        # Segoe UI is not installed here; the skins ask for it by name.
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ \
            /d 'DejaVu Sans' /f >/dev/null 2>&1
        # Windows draws characters a font lacks from a linked font; without a
        # link, the Chinese texts would be empty boxes here.
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v 'DejaVu Sans' /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
        # With no window manager on the virtual display, Wine waits about two
        # seconds for a managed window to be withdrawn each time one is hidden;
        # unmanaged windows are unmapped at once.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$ready"
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
