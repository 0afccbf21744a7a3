#!/usr/bin/env bash
# Prepares a 32-bit Wine prefix for running Skyliner headless: no window manager
# waits, a virtual desktop (so display-mode changes succeed), a null sound device,
# no crash dialog, and a Japanese UI font. Idempotent.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX}
stamp="$prefix/.skyliner-prefix-v1"
[ -f "$stamp" ] && exit 0

export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1 || true
wineserver -w

reg() { wine reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'IPAPGothic'
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS P Gothic' /d 'IPAPGothic'
wineserver -w

# Null ALSA device, read through XDG_CONFIG_HOME by the test scripts.
mkdir -p "$prefix/alsa"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$prefix/alsa/asoundrc"
mkdir -p "$prefix/drive_c/kestrel"
touch "$stamp"
