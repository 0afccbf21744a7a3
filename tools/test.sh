#!/usr/bin/env bash
# Runs every test: the unit tests natively and under ASan/UBSan, the fuzz
# targets, then the native suite (unit, asset regeneration, golden images,
# viewer and bench smoke runs, and the end-to-end tests under Wine in Xvfb).
# Installs what it needs first. Ends with CTest's summary of the native suite.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh || exit 1
source tools/wine-env.sh
jobs=$(nproc)
mkdir -p build

# Configures and builds one preset; extra arguments go to the configure step.
build() {
  echo "== build $1"
  cmake --preset "$1" "${@:2}" >"build/$1.log" 2>&1 || { cat "build/$1.log"; return 1; }
  cmake --build --preset "$1" -j"$jobs" >>"build/$1.log" 2>&1 || { tail -50 "build/$1.log"; return 1; }
}

# The product is 32-bit; its 64-bit twin from the same sources is built too, so
# the two never drift, whichever of them this kernel lets Wine run.
build windows || exit 1
# The zip and the setup program the installer checks run.
cmake --build --preset windows --target release >>build/windows.log 2>&1 || { tail -50 build/windows.log; exit 1; }
build windows64 || exit 1
build fuzz || exit 1
build asan || exit 1
build native -DSKYLINER_WINE_TESTS=ON -DSKYLINER_WINDOWS_BIN="$SKYLINER_WIN_BIN" || exit 1

status=0
echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --preset asan -j"$jobs" || status=1
echo "== fuzz targets"
ctest --preset fuzz -j"$jobs" || status=1
echo "== native suite"
ctest --preset native || status=1
exit $status
