#!/bin/sh
# The package through lintian: no error, no warning. Usage: package_lintian.sh CPACK BUILD_DIR
set -eu
command -v lintian >/dev/null || { echo "SKIP: lintian is not installed (tools/setup.sh installs it)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$2" && "$1" -G DEB -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
lintian --fail-on error,warning --display-info --no-tag-display-limit "$work"/skyliner_*_amd64.deb
