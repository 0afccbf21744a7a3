"""The command line the end-to-end check scripts share: --bin, --shots and
--group (repeatable; every group when none is named), one Wine session for
the run, and each check reported PASS or FAIL with its time, a failure with
its trace and Wine's last errors."""

import argparse
import os
import sys
import time
import traceback

from wine_session import WineSession


class CheckSet:
    """A script's checks on one session, with the clean-up each check leaves behind it."""

    def __init__(self, session):
        self.s = session
        self.cleanups = []

    def later(self, action):
        """Runs action when the check ends, passed or failed."""
        self.cleanups.append(action)

    def clean_up(self):
        """Runs what the last check left, newest first; a failing step is shown and the rest still run."""
        while self.cleanups:
            try:
                self.cleanups.pop()()
            except Exception:
                traceback.print_exc()

    def run_google_test(self, program, *args, language=None):
        """Runs a GoogleTest program of the bin folder to its end; shows its verdicts (and the GDI
        reader's refusals), and returns its output."""
        assert os.path.exists(os.path.join(self.s.bin_dir, program)), "%s was not built" % program
        code, output = self.s.run_windows_program(program, 120, args, language)
        for line in output.splitlines():
            if any(word in line for word in ("FAILED", "PASSED", "Failure", "GDI refuses")):
                print("  " + line)
        assert code == 0, "%s failed:\n%s" % (program, output[-3000:])
        return output


def run_groups(groups, make_checks, heading=None, session_options=None):
    """Runs the chosen groups' checks, the methods of make_checks(session) (a CheckSet) named in
    `groups`; heading(session), if given, is printed first. session_options(chosen groups), if
    given, returns the WineSession's keyword arguments. Returns the exit code: 1 when any check
    failed."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--shots", required=True)
    parser.add_argument("--group", choices=sorted(groups), action="append")
    args = parser.parse_args()
    chosen = args.group or sorted(groups)
    options = session_options(chosen) if session_options else {}
    session = WineSession(os.path.abspath(args.bin), os.path.abspath(args.shots), **options)
    failures = 0
    try:
        if heading:
            print(heading(session))
        checks = make_checks(session)
        for group in chosen:
            for name in groups[group]:
                start = time.monotonic()
                try:
                    getattr(checks, name)()
                    print("PASS %s (%.1f s)" % (name, time.monotonic() - start))
                except Exception:
                    failures += 1
                    print("FAIL %s (%.1f s)\n%s" % (name, time.monotonic() - start, traceback.format_exc()))
                    print("  Wine errors:\n    " + "\n    ".join(session.wine_errors(10)))
                finally:
                    checks.clean_up()
                sys.stdout.flush()
    finally:
        session.close()
    print("screenshots in %s" % session.shots_dir)
    return 1 if failures else 0
