#!/usr/bin/env python3
"""Writes a zip of the named files, stored under their bare names in the given
order, each with one fixed time and plain attributes and no extra fields, so
two runs give the same bytes.

usage: make_zip.py ZIP FILE...
"""

import os
import sys
import zipfile

FIXED_TIME = (2000, 1, 1, 0, 0, 0)


def main():
    target, files = sys.argv[1], sys.argv[2:]
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for path in files:
            entry = zipfile.ZipInfo(os.path.basename(path), FIXED_TIME)
            entry.create_system = 0  # made on FAT: no Unix owner or mode
            entry.external_attr = 0x20  # the archive bit, as Windows' own zips have it
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(entry, f.read())
    return 0


if __name__ == "__main__":
    sys.exit(main())
