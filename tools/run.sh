#!/usr/bin/env bash
# The main job: builds Skyliner and runs the screensaver as the system would,
# `Skyliner.scr /s` from the dist folder under Wine, over the sample desktop.
# On a display (DISPLAY set and reachable) it runs there until Esc; otherwise
# it runs headless and leaves screenshots in out/shots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
source tools/wine-env.sh
jobs=$(nproc)
mkdir -p build out/shots

# Builds one preset quietly, showing the log only when it fails.
build() {
  cmake --preset "$1" >"build/$1.log" 2>&1 && cmake --build --preset "$1" -j"$jobs" >>"build/$1.log" 2>&1 \
    || { tail -40 "build/$1.log"; exit 1; }
}
build windows
[ "$SKYLINER_WIN_PRESET" = windows ] || build "$SKYLINER_WIN_PRESET"
echo "built: build/windows/dist/ (Skyliner.scr, Skyliner.dll, Skyliner.data: the 32-bit product)"
dist=$(dirname "$SKYLINER_WIN_BIN")/dist
[ "$SKYLINER_WIN_PRESET" = windows ] || echo "running: $dist/Skyliner.scr (this kernel cannot run 32-bit programs)"

display=()
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then display=(--display "$DISPLAY"); fi
python3 tools/fly.py --bin "$SKYLINER_WIN_BIN" --shots out/shots "${display[@]}"
