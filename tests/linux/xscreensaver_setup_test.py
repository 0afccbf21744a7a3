#!/usr/bin/env python3
"""skyliner-xscreensaver-setup run twice on each kind of ~/.xscreensaver: the
entry ends the programs list once, a disabled one stays disabled, the user's
lines are kept, the backup holds the file as it was, the second run changes
nothing; with the settings program open nothing is changed."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

COMMAND = sys.argv[1]
ENTRY = re.compile(r"^(?:programs:)?\s*(-?)\s*GL:\s*(\S*/)?skyliner --root\s*\\n\\?$")
# As xscreensaver-settings writes it: each entry "\n\", an empty line after the last.
LISTED = ("programs:\t\t\t\t\t\t\t\t      \\\n\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
          "-\t\t\t\tattraction --root\t\t\t    \\n\\\n  GL: \t\t\t\tsuperquadrics --root\t\t    \\n\\\n\n")
# name, ~/.xscreensaver before (None: none), the entry's state after ("-" disabled), whether the file changes
CASES = [
    ("no file", None, "", True),
    ("settings, no programs list", "lock: False\nmode: one\nselected: 2\n", "", True),
    ("a list written by xscreensaver", "mode: one\nselected: 2\n" + LISTED + "\nfade: False\n", "", True),
    ("a one-line list", "programs: maze -root\n", "", True),
    ("a list ending without an empty line", "programs: \\\n maze -root \\n\nfade: False\n", "", True),
    ("skyliner disabled", LISTED.replace("\\n\\\n\n", "\\n\\\n- GL: skyliner --root \\n\\\n\n"), "-", False),
    ("skyliner by path", "programs: GL: /usr/libexec/xscreensaver/skyliner --root \\n\n", "", False),
]
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


def run(home):
    return subprocess.run(["sh", COMMAND], env=dict(os.environ, HOME=home), capture_output=True, text=True)


def read(path):
    with open(path) as f:
        return f.read()


def check_case(work, name, before, state, changes):
    home = tempfile.mkdtemp(dir=work)
    path = os.path.join(home, ".xscreensaver")
    if before is not None:
        with open(path, "w") as f:
            f.write(before)
    first = run(home)
    after_first = read(path) if os.path.exists(path) else None
    second = run(home)
    after = read(path)
    said = (first.stdout or first.stderr).splitlines()[:1]
    check(first.returncode == 0 and second.returncode == 0, "%s: both runs succeed %s" % (name, said))
    check(after == after_first, "%s: the second run changes nothing" % name)
    lines = after.splitlines()
    entries = [i for i, line in enumerate(lines) if ENTRY.match(line)]
    check(len(entries) == 1 and ENTRY.match(lines[entries[0]]).group(1) == state,
          "%s: one %s entry" % (name, "disabled" if state else "enabled"))
    kept = [line for line in (before or "").splitlines() if line not in lines]
    check(len(kept) <= 1 and (changes or not kept), "%s: the user's lines are kept (%s)" % (name, kept))
    if entries and changes:
        ends = not lines[entries[0]].endswith("\\") or not lines[entries[0] + 1].strip()
        check(ends, "%s: the entry ends the list" % name)
    backup = path + ".before-skyliner"
    check((read(backup) == before) if changes and before else not os.path.exists(backup),
          "%s: %s" % (name, "the backup holds the file as it was" if changes and before else "no backup"))


def check_settings_open(work):
    home = tempfile.mkdtemp(dir=work)
    path = os.path.join(home, ".xscreensaver")
    with open(path, "w") as f:
        f.write("lock: False\n")
    settings = os.path.join(work, "xscreensaver-settings")
    shutil.copy(shutil.which("sleep"), settings)
    with subprocess.Popen([settings, "30"]) as open_settings:
        refused = run(home)
        open_settings.kill()
    check(refused.returncode == 1 and "xscreensaver-settings is open" in refused.stderr and read(path) == "lock: False\n",
          "with xscreensaver-settings open it refuses and changes nothing")


def main():
    with tempfile.TemporaryDirectory() as work:
        for case in CASES:
            check_case(work, *case)
        check_settings_open(work)
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
