#!/usr/bin/env python3
"""skyliner-xscreensaver-setup run twice on each kind of ~/.xscreensaver, and
once while xscreensaver-settings is open."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from hack_e2e import check, failures

ENTRY = re.compile(r"^(?:programs:)?\s*(-?)\s*GL:\s*(\S*/)?skyliner --root\s*\\n\\?$", re.M)
# As xscreensaver-settings writes it: each entry "\n\", an empty line after the last.
LISTED = "programs:\t\\\n\t\t\t\tmaze --root\t\t\t\t    \\n\\\n-\t\t\t\tattraction --root\t\t    \\n\\\n\n"
# ~/.xscreensaver before (None: none), the entry after ("-": disabled), whether the file changes
CASES = [
    (None, "", True), ("lock: False\nselected: 2\n", "", True), ("mode: one\n" + LISTED + "fade: False\n", "", True),
    ("programs: \\\n maze -root \\n\nfade: False\n", "", True),
    (LISTED.replace("\\n\\\n\n", "\\n\\\n- GL: skyliner --root \\n\\\n\n"), "-", False),
    ("programs: GL: /usr/libexec/xscreensaver/skyliner --root \\n\n", "", False),
]


def read(path):
    return open(path).read() if os.path.exists(path) else None


def run(home):
    return subprocess.run(["sh", sys.argv[1]], env=dict(os.environ, HOME=home), capture_output=True, text=True)


def check_case(home, before, state, changes):
    path = os.path.join(home, ".xscreensaver")
    if before is not None:
        open(path, "w").write(before)
    runs = [run(home), read(path), run(home), read(path)]
    name = repr((before or "no file")[:40])
    check(runs[0].returncode == runs[2].returncode == 0 and runs[1] == runs[3] and
          read(path + ".before-skyliner") == (before if changes else None),
          "%s: both runs succeed, the second changes nothing, a backup only of a changed file" % name)
    kept = [line for line in (before or "").splitlines() if line not in runs[3].splitlines()]
    check([e[0] for e in ENTRY.findall(runs[3])] == [state] and len(kept) <= changes,
          "%s: one %s entry, the user's lines kept" % (name, "disabled" if state else "enabled"))


def main():
    with tempfile.TemporaryDirectory() as work:
        for case in CASES:
            check_case(tempfile.mkdtemp(dir=work), *case)
        settings = shutil.copy(shutil.which("sleep"), os.path.join(work, "xscreensaver-settings"))
        with subprocess.Popen([settings, "30"]) as open_settings:
            refused = run(work)
            open_settings.kill()
        check(refused.returncode == 1 and not read(os.path.join(work, ".xscreensaver")),
              "with xscreensaver-settings open it refuses and writes nothing: " + refused.stderr.strip())
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
