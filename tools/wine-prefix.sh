#!/usr/bin/env bash
# Prepares the Wine prefix named by tools/wine-env.sh for running Skyliner
# headless: no window-manager waits, a virtual desktop (so display-mode changes
# succeed; left out of the SKYLINER_NO_DESKTOP prefix), a null sound device, no
# crash dialog, and a Japanese UI font.
# Idempotent: a stamp file marks a finished prefix.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
stamp="$WINEPREFIX/.skyliner-prefix-v2"

# Wine takes the UI language from LC_MESSAGES and the ANSI code page from
# LC_CTYPE, falling back to English and 1252 for a locale glibc lacks: compile
# the ones the tests run under (Japanese 932, English 1252, Hindi 65001) into
# the folder LOCPATH names.
mkdir -p "$LOCPATH"
for locale in ja_JP en_US hi_IN; do
  [ -d "$LOCPATH/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" >/dev/null 2>&1 || true
done
[ -f "$stamp" ] && exit 0

find "$WINEPREFIX" -mindepth 1 -maxdepth 1 ! -name locales -exec rm -rf {} +
mkdir -p "$WINEPREFIX"
"$WINE" wineboot -i >/dev/null 2>&1 || true
wineserver -w

# Adds one registry value, quietly.
reg() { "$WINE" reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
if [ -z "${SKYLINER_NO_DESKTOP:-}" ]; then
  reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
  reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024
fi
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'IPAPGothic'
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS P Gothic' /d 'IPAPGothic'
# Message boxes and dialogs draw in the UI faces, which have no Japanese
# glyphs of their own: link them to IPAPGothic, as a Japanese system does.
for face in Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'MS Sans Serif' 'Microsoft Sans Serif' 'Segoe UI'; do
  reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" /t REG_MULTI_SZ \
    /d 'ipagp.ttf,IPAPGothic'
done
wineserver -w

# Null ALSA device, found through XDG_CONFIG_HOME.
mkdir -p "$XDG_CONFIG_HOME/alsa" "$WINEPREFIX/drive_c/kestrel"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$XDG_CONFIG_HOME/alsa/asoundrc"
touch "$stamp"
