#!/usr/bin/env bash
# Installs everything Skyliner needs on Debian 12 (as root) and prepares the Wine prefix.
# Idempotent: with everything present it only checks and returns in a few seconds.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
started=$SECONDS

# Native builds: compilers, CMake/Ninja, clang's libFuzzer runtime, GoogleTest
# (its sources too, cross-compiled for the Windows-side tests), PNG, EGL/GLX.
# The screensaver hack: JPEG grounds, and the real xscreensaver daemon (with
# its desktop helper and GL visual picker) and MATE's screensaver for its
# end-to-end test; lintian, Debian's package checker, for the package.
native_pkgs=(build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev googletest libpng-dev libjpeg-dev libegl-dev libglu1-mesa-dev libx11-dev libgl1-mesa-dri
  xscreensaver xscreensaver-data xscreensaver-gl mate-screensaver lintian)
# Cross compilers, Wine for both architectures, the headless display and the
# tools the tests drive it with (xdotool, ImageMagick's import and convert,
# xdpyinfo from x11-utils); the Japanese UI font, locales to compile a
# Japanese locale when Wine must use code page 932, and NSIS for the setup program.
windows_pkgs=(mingw-w64 wine wine32:i386 wine64 xvfb xdotool imagemagick x11-utils
  fonts-ipafont-gothic locales python3 nsis)
# Xorg's dummy driver and xrandr: a headless display with two monitors whose
# modes can be switched (tests/wine/dummy_display.py).
windows_pkgs+=(xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils)
# What Wine opens by name at run time. These are only recommends of libwine,
# so --no-install-recommends leaves them out; each is needed for both Wine
# architectures. tools/check-wine-libs.sh checks the files.
wine_runtime=(libgl1 libglx-mesa0 libgl1-mesa-dri
  gstreamer1.0-plugins-good gstreamer1.0-plugins-base
  libxrandr2 libxrender1 libxcursor1 libxi6 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
  libdbus-1-3 libgnutls30)
for p in "${wine_runtime[@]}"; do windows_pkgs+=("$p:i386" "$p:amd64"); done

# Prints the packages of the list that dpkg does not report as installed. A
# name without ":arch" means the native architecture (or "all"). One dpkg
# query for everything: one per package took seconds.
missing() {
  local native p
  native=$(dpkg --print-architecture)
  declare -A have=()
  while read -r p; do have[$p]=1; done < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}:${Architecture}\n' |
                                            awk '$1 == "ii" { print $2 }')
  for p in "$@"; do
    case "$p" in
      *:*) [ -n "${have[$p]:-}" ] || echo "$p" ;;
      *) [ -n "${have[$p:$native]:-}${have[$p:all]:-}" ] || echo "$p" ;;
    esac
  done
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  rm -f /var/lib/apt/lists/lock.updated
fi
need=$(missing "${native_pkgs[@]}" "${windows_pkgs[@]}")
if [ -n "$need" ]; then
  echo "setup: installing $(echo $need | wc -w) packages: $(echo $need | tr '\n' ' ')"
  export DEBIAN_FRONTEND=noninteractive
  # -q drops the animated bars but keeps a line per download and per package unpacked and set up.
  apt-get -q update
  # shellcheck disable=SC2086
  apt-get -q install -y --no-install-recommends -o Dpkg::Progress-Fancy=0 $need
fi

bash "$here/tools/check-wine-libs.sh"
bash "$here/tools/wine-prefix.sh"
source "$here/tools/wine-env.sh"
echo "setup: ready in $((SECONDS - started)) s (Wine prefix $WINEPREFIX, $WINEARCH)"
