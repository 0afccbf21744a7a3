# Sourced by the scripts that run Skyliner under Wine. Sets up:
#   WINE            the loader to call ("wine", or wine64 where 32-bit Linux
#                   programs cannot run, as in some sandboxed kernels)
#   WINEPREFIX, WINEARCH, WINEDEBUG, WINEDLLOVERRIDES, XDG_CONFIG_HOME
#   SKYLINER_WIN_PRESET  the CMake preset whose programs Wine can run here
#   SKYLINER_WIN_BIN     where that preset puts them
# The product is the 32-bit build; where only 64-bit programs run, the tests
# run the same sources built for x86_64.
skyliner_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# True when this kernel can execute 32-bit x86 Linux programs (Wine's 32-bit loader is one).
can_run_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

if can_run_32bit; then
  export WINEARCH=win32 SKYLINER_WIN_PRESET=windows
  WINE=wine
else
  export WINEARCH=win64 SKYLINER_WIN_PRESET=windows64
  WINE=/usr/lib/wine/wine64
fi
export WINE
# With SKYLINER_NO_DESKTOP=1, a prefix of its own without Wine's virtual desktop:
# programs there meet the X server's real monitors and mode limits.
export WINEPREFIX=${SKYLINER_PREFIX:-$HOME/.skyliner-wine-$WINEARCH}${SKYLINER_NO_DESKTOP:+-multi}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_CONFIG_HOME="$WINEPREFIX/xdg"
export LOCPATH="$WINEPREFIX/locales"  # compiled by tools/wine-prefix.sh
export SKYLINER_WIN_BIN="$skyliner_root/build/$SKYLINER_WIN_PRESET/bin"
