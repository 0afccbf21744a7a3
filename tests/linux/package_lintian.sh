#!/bin/sh
# The Debian package as Debian's own checker sees it: no error and no warning.
# Usage: package_lintian.sh CPACK BUILD_DIR. Skipped (77) without lintian.
set -eu
cpack=$1
build=$2
if ! command -v lintian >/dev/null; then
  echo "SKIP: lintian is not installed (tools/setup.sh installs it)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && "$cpack" -G DEB -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
set -- "$work"/skyliner_*_amd64.deb
[ -f "$1" ] || { echo "no package in $work"; exit 1; }
lintian --fail-on error,warning --display-info --no-tag-display-limit "$1"
echo "lintian: no error or warning in $(basename "$1")"
