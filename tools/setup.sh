#!/usr/bin/env bash
# Installs everything Skyliner needs on Debian 12 (as root) and prepares the Wine prefix.
# Idempotent: with everything present it only checks and returns in a few seconds.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)


native_pkgs=(build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  libegl-dev libglu1-mesa-dev libx11-dev libosmesa6-dev libgl1-mesa-dri)
windows_pkgs=(mingw-w64 wine wine32:i386 wine64 libgl1-mesa-dri:i386 libglx-mesa0:i386
  gstreamer1.0-plugins-good:i386 xvfb xdotool imagemagick x11-apps x11-utils
  fonts-ipafont-gothic locales python3)

# Prints the packages of the list that dpkg does not report as installed.
missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  rm -f /var/lib/apt/lists/lock.updated
fi
need=$(missing "${native_pkgs[@]}" "${windows_pkgs[@]}")
if [ -n "$need" ]; then
  echo "setup: installing: $(echo $need | tr '\n' ' ')"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $need >/dev/null
fi

bash "$here/tools/wine-prefix.sh"
source "$here/tools/wine-env.sh"
echo "setup: ready (Wine prefix $WINEPREFIX, $WINEARCH)"
