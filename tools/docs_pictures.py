#!/usr/bin/env python3
"""Makes the README's pictures in docs/ from real runs under Wine: a frame of
the flight from the main job's screenshots (tools/fly.py), the settings
dialog as its end-to-end check photographs it (tests/wine/dialog_e2e.py) and
the saver over two monitors in the every-monitor way (tests/wine/monitors_e2e.py,
the part of the X screen no monitor shows greyed out), made small enough to
keep in the repository.

usage: docs_pictures.py --bin WINDOWS_BIN
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
DOCS = os.path.join(ROOT, "docs")
# (made by, its screenshot, the picture in docs/, ImageMagick's options for it)
PICTURES = [
    (["tools/fly.py"], "chase_late.png", "flight.jpg", ["-resize", "640x480", "-strip", "-quality", "82"]),
    (["tests/wine/dialog_e2e.py", "--group", "open"], "dialog-opened.png", "settings-dialog.png",
     ["-strip", "-colors", "128"]),
    (["tests/wine/monitors_e2e.py", "--group", "every_monitor"], "saver_over_every_monitor.png",
     "every-monitor.jpg", ["-fill", "gray25", "-draw", "rectangle 1280,768 2303,1023", "-resize", "960x",
                           "-strip", "-quality", "82"]),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="the Windows build's bin folder (dist/ lies beside it)")
    args = parser.parse_args()
    shots = tempfile.mkdtemp(prefix="skyliner-docs-")
    try:
        os.makedirs(DOCS, exist_ok=True)
        for script, shot, picture, options in PICTURES:
            run = subprocess.run([sys.executable, os.path.join(ROOT, script[0]), *script[1:],
                                  "--bin", os.path.abspath(args.bin), "--shots", shots], cwd=ROOT)
            if run.returncode != 0 or not os.path.exists(os.path.join(shots, shot)):
                print("%s did not make %s" % (script[0], shot))
                return 1
            target = os.path.join(DOCS, picture)
            subprocess.run(["convert", os.path.join(shots, shot), *options, target], check=True)
            print("%s: %d bytes" % (os.path.relpath(target, ROOT), os.path.getsize(target)))
    finally:
        shutil.rmtree(shots, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
