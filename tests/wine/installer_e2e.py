#!/usr/bin/env python3
"""End-to-end checks of the release under Wine in Xvfb: the zip's contents,
the real setup program installing silently and by its pages (screenshots of
each page in English and Japanese go to --shots), the installed saver run
and set up from its folder, an upgrade in place, and the uninstaller.

usage: installer_e2e.py --bin WINDOWS_BIN --shots DIR --group GROUP
"""

import glob
import os
import shutil
import subprocess
import sys
import time
import zipfile

sys.path.insert(0, os.path.dirname(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "wine"))
from check_groups import run_groups  # noqa: E402
from dialog_e2e import Dialog  # noqa: E402
from shell_e2e import Checks as ShellChecks  # noqa: E402
from wine_session import ROOT, SETTINGS_FILE, wait_until  # noqa: E402

VERSION = "1.0.0"
RELEASE = os.path.join(ROOT, "build", "windows", "release")
SETUP = os.path.join(RELEASE, "Skyliner-%s-setup.exe" % VERSION)
ZIP = os.path.join(RELEASE, "Skyliner-%s-win32.zip" % VERSION)
PROGRAM_FILES = ["Skyliner.scr", "Skyliner.dll", "Skyliner.data"]
UNINSTALLER = "Uninstall.exe"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Skyliner"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
PREVIOUS_SAVER = r"C:\windows\system32\previous.scr"
WORKING_FILES = ["Jetscape1.bmp", "Jetscape2.bmp", "Jetscape3.bmp", "Jetscape.data"]
SKIPPED = 77  # CTest's SKIP_RETURN_CODE for this script


class Checks(ShellChecks):
    # --- helpers -------------------------------------------------------------

    def default_folder(self):
        """The Linux path of $LOCALAPPDATA\\Programs\\Skyliner in this prefix."""
        users = glob.glob(os.path.join(self.s.env["WINEPREFIX"], "drive_c", "users", "*", "AppData", "Local"))
        local = [path for path in users if "Public" not in path]
        assert local, "no AppData\\Local in the prefix"
        return os.path.join(local[0], "Programs", "Skyliner")

    def reg(self, *args):
        out = os.path.join(self.s.work, "reg.out")
        with open(out, "w") as f:
            code = subprocess.call([self.s.wine, "reg", *args], stdout=f, stderr=subprocess.DEVNULL, env=self.s.env)
        with open(out, encoding="utf-8", errors="replace") as f:
            return code, f.read()

    def reg_value(self, key, name):
        """The value as reg.exe shows it, or None when there is none."""
        code, text = self.reg("query", key, "/v", name)
        for line in text.splitlines():
            parts = line.strip().split(None, 2)
            if code == 0 and len(parts) >= 2 and parts[0].lower() == name.lower() and parts[1].startswith("REG_"):
                return parts[2] if len(parts) == 3 else ""
        return None

    def set_previous_saver(self):
        self.reg("add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", PREVIOUS_SAVER, "/f")

    def forget_install(self, folder):
        """No uninstall entry, no installed folder, no working folder: as before any install."""
        self.reg("delete", UNINSTALL_KEY, "/f")
        self.reg("delete", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/f")
        shutil.rmtree(folder, ignore_errors=True)
        shutil.rmtree(self.s.kestrel, ignore_errors=True)

    def fresh_install_state(self, folder):
        self.forget_install(folder)
        self.later(lambda: self.forget_install(folder))
        self.set_previous_saver()

    def install(self, *args):
        process = self.s.start_program(SETUP, ["/S", *args], name="setup")
        try:
            code = process.wait(60)
        except subprocess.TimeoutExpired:
            self.s.end_process(process)
            raise AssertionError("the setup program still runs after 60 s")
        assert code == 0, "setup %s ended with %d" % (" ".join(args), code)

    def uninstall(self, folder):
        """The installed uninstaller, silently; it goes on from a copy of itself in the temporary folder."""
        process = self.s.start_program(os.path.join(folder, UNINSTALLER), ["/S"], name="uninstall")
        assert process.wait(30) == 0, "the uninstaller ended with %s" % process.poll()
        # The copy, Un.exe in a ~nsu*.tmp folder, starts before the first ends.
        assert wait_until(lambda: not self.s.windows_processes("\\~nsu"), 30), "the uninstaller's copy still runs"

    def windows_folder(self, folder):
        """C:\\... for a Linux path inside the prefix's drive C."""
        drive_c = os.path.join(self.s.env["WINEPREFIX"], "drive_c")
        return "C:\\" + os.path.relpath(folder, drive_c).replace("/", "\\")

    @staticmethod
    def read(path):
        with open(path, "rb") as f:
            return f.read()

    def assert_installed(self, folder):
        """The three files byte for byte as in the zip, the uninstaller, and the uninstall entry."""
        with zipfile.ZipFile(ZIP) as archive:
            for name in PROGRAM_FILES:
                path = os.path.join(folder, name)
                assert os.path.exists(path), "%s was not installed" % name
                assert self.read(path) == archive.read(name), "the installed %s differs from the zip's" % name
        assert os.path.exists(os.path.join(folder, UNINSTALLER)), "no uninstaller"
        windows = self.windows_folder(folder)
        want = {"DisplayName": "Skyliner", "DisplayVersion": VERSION, "Publisher": "The Skyliner authors",
                "DisplayIcon": windows + "\\Skyliner.scr,0", "InstallLocation": windows,
                "QuietUninstallString": '"%s\\%s" /S' % (windows, UNINSTALLER)}
        for name, value in want.items():
            got = self.reg_value(UNINSTALL_KEY, name)
            assert got == value, "uninstall entry %s: %r, not %r" % (name, got, value)
        size = self.reg_value(UNINSTALL_KEY, "EstimatedSize")
        assert size and int(size, 16) * 1024 >= sum(len(self.read(os.path.join(folder, n))) for n in PROGRAM_FILES), (
            "EstimatedSize %s" % size)

    def assert_our_saver_chosen(self, folder):
        code, want = self.s.probe("short", self.windows_folder(folder) + "\\Skyliner.scr")
        assert code == 0, "no short path for %s" % folder
        assert self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE") == want, "SCRNSAVE.EXE %r, not %r" % (
            self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"), want)
        assert self.reg_value(DESKTOP_KEY, "ScreenSaveActive") == "1", self.reg_value(DESKTOP_KEY, "ScreenSaveActive")
        kept = self.reg_value(UNINSTALL_KEY, "PreviousScreenSaver")
        assert kept == PREVIOUS_SAVER, "the previous screensaver kept as %r" % kept

    def assert_uninstalled(self, folder):
        left = [name for name in PROGRAM_FILES + [UNINSTALLER] if os.path.exists(os.path.join(folder, name))]
        assert not left, "left after the uninstall: %s" % left
        assert self.reg_value(UNINSTALL_KEY, "DisplayName") is None, "the uninstall entry is still there"
        assert self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE") == PREVIOUS_SAVER, "SCRNSAVE.EXE %r after the uninstall" % (
            self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"))

    # --- release -------------------------------------------------------------------

    def test_zip_holds_the_four_files_and_the_versions_show(self):
        with zipfile.ZipFile(ZIP) as archive:
            names = archive.namelist()
            readme = archive.read("README.txt")
        assert names == PROGRAM_FILES + ["README.txt"], names
        assert readme.startswith(b"\xef\xbb\xbf") and b"\r\n" in readme and b"\n" not in readme.replace(b"\r\n", b""), (
            "README.txt is not UTF-8 with a BOM and CRLF line ends")
        for name, description in (("Skyliner.scr", "Skyliner screensaver"), ("Skyliner.dll", "Skyliner renderer")):
            code, text = self.s.probe("version", self.s.windows_path(os.path.join(self.s.dist_dir, name)))
            fields = dict(line.split("=", 1) for line in text.splitlines() if "=" in line)
            want = {"fixed": VERSION + ".0", "ProductName": "Skyliner", "FileDescription": description,
                    "FileVersion": VERSION, "LegalCopyright": "Copyright (C) the Skyliner authors"}
            got = {key: fields.get(key) for key in want}
            assert code == 0 and got == want, "%s: %s" % (name, text)
            assert fields.get("string1") == ("Skyliner" if name.endswith(".scr") else ""), "%s: string 1 %r" % (
                name, fields.get("string1"))

    # --- install, run, upgrade, uninstall -------------------------------------------

    def test_silent_install_run_set_upgrade_and_uninstall(self):
        folder = self.default_folder()
        self.fresh_install_state(folder)
        self.install()
        self.assert_installed(folder)
        self.assert_our_saver_chosen(folder)

        run = self.shell("/s", program_dir=folder)
        assert run.wait_for_renderer_window(), "the installed saver showed no renderer window"
        self.end_with_escape(run)

        dialog = Dialog(self, program_dir=folder)
        dialog.click_button("Cmd_Set")
        assert dialog.wait_closed() is not None, "Set did not close the dialog"
        settings = os.path.join(folder, SETTINGS_FILE)
        assert os.path.exists(settings), "Set wrote no Skyliner.ini in the installed folder"
        before = self.read(settings)

        self.install()
        assert self.read(settings) == before, "the upgrade changed Skyliner.ini"
        self.assert_installed(folder)
        self.assert_our_saver_chosen(folder)

        assert all(os.path.exists(os.path.join(self.s.kestrel, n)) for n in WORKING_FILES), "the run wrote no files"
        self.uninstall(folder)
        self.assert_uninstalled(folder)
        assert self.read(settings) == before, "a silent uninstall must keep Skyliner.ini"
        assert not os.path.exists(self.s.kestrel), "C:\\kestrel is still there"

    def test_uninstall_keeps_the_users_files_in_a_folder_with_spaces(self):
        folder = os.path.join(self.s.env["WINEPREFIX"], "drive_c", "My Saver")
        self.fresh_install_state(folder)
        os.makedirs(folder)
        notes = os.path.join(folder, "notes.txt")
        with open(notes, "wb") as f:
            f.write(b"mine\r\n")
        # /D= takes the rest of the command line, unquoted: two arguments joined by Wine with a blank.
        self.install("/D=C:\\My", "Saver")
        self.assert_installed(folder)
        self.assert_our_saver_chosen(folder)
        assert "~" in self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"), "not the short form"
        self.uninstall(folder)
        self.assert_uninstalled(folder)
        assert self.read(notes) == b"mine\r\n", "the user's file changed"

    # --- pages -----------------------------------------------------------------------

    def japanese_locale(self):
        """LANG and LOCPATH for a Japanese system language, the locale compiled privately."""
        locales = os.path.join(self.s.work, "locale")
        if not os.path.exists(os.path.join(locales, "ja_JP.UTF-8")):
            os.makedirs(locales, exist_ok=True)
            subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8", os.path.join(locales, "ja_JP.UTF-8")],
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return {"LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8", "LOCPATH": locales}

    def start_with(self, environment, path, *args, name):
        """Starts a program with more environment (the system language) for it alone."""
        saved = dict(self.s.env)
        self.s.env.update(environment)
        try:
            process = self.s.start_program(path, args, name=name)
        finally:
            self.s.env.clear()
            self.s.env.update(saved)
        self.later(lambda: self.s.end_process(process))
        return process

    def next_page(self, shot, *keys):
        """Waits for a setup window, keeps a picture of it, then presses the keys and Return."""
        assert wait_until(self.setup_windows, 20), "no setup window for %s" % shot
        time.sleep(1.5)
        self.window_shot(self.setup_windows()[0], shot)
        for key in keys + ("Return",):
            subprocess.run(["xdotool", "key", key], env=self.s.env, check=True)
            time.sleep(0.3)

    def page_through(self, language, environment, remove_settings):
        """Installs and uninstalls by the pages, ticking the settings' removal or not."""
        folder = self.default_folder()
        self.fresh_install_state(folder)
        process = self.start_with(environment, SETUP, name="setup-" + language)
        self.next_page("setup-%s-welcome" % language)
        self.next_page("setup-%s-folder" % language)
        assert wait_until(lambda: os.path.exists(os.path.join(folder, UNINSTALLER)), 30), "nothing installed"
        self.next_page("setup-%s-finish" % language)
        assert process.wait(20) == 0, "the setup program did not end after Finish"
        self.assert_installed(folder)
        self.assert_our_saver_chosen(folder)

        settings = os.path.join(folder, SETTINGS_FILE)
        with open(settings, "wb") as f:
            f.write(b"[Section]\r\n")
        self.start_with(environment, os.path.join(folder, UNINSTALLER), name="uninstall-" + language)
        self.next_page("uninstall-%s-confirm" % language)
        # The settings' box is the second in the list, unticked: Down to it, Space to tick it.
        self.next_page("uninstall-%s-components" % language, *(("Down", "space") if remove_settings else ()))
        assert wait_until(lambda: not os.path.exists(os.path.join(folder, UNINSTALLER)), 30), "nothing uninstalled"
        self.next_page("uninstall-%s-done" % language)
        assert wait_until(lambda: not self.s.windows_processes("\\~nsu"), 30), "the uninstaller still runs"
        self.assert_uninstalled(folder)
        assert os.path.exists(settings) != remove_settings, "Skyliner.ini %s" % (
            "kept though the page asked to remove it" if remove_settings else "removed unasked")
        assert os.path.exists(folder) != remove_settings, "the folder's removal did not follow Skyliner.ini's"

    def setup_windows(self):
        """X windows whose name starts with "Skyliner" (the setup's caption in either language)."""
        result = subprocess.run(["xdotool", "search", "--name", "^Skyliner"], env=self.s.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)
        return result.stdout.split()

    def window_shot(self, window, name):
        """The X window alone, as shots/name.png."""
        # xwininfo's absolute place: xdotool counts the offset twice where there is no window manager.
        result = subprocess.run(["xwininfo", "-id", window], env=self.s.env, check=True, stdout=subprocess.PIPE)
        info = dict(line.strip().split(":", 1) for line in result.stdout.decode().splitlines() if ":" in line)
        geometry = {key: info[name].strip() for key, name in (("X", "Absolute upper-left X"), ("Y", "Absolute upper-left Y"),
                                                              ("WIDTH", "Width"), ("HEIGHT", "Height"))}
        full = os.path.join(self.s.work, "screen.png")
        subprocess.run(["import", "-window", "root", full], env=self.s.env, check=True)
        subprocess.run(["convert", full, "-crop", "%(WIDTH)sx%(HEIGHT)s+%(X)s+%(Y)s" % geometry, "+repage",
                        os.path.join(self.s.shots_dir, name + ".png")], check=True)

    def test_pages_in_english(self):
        self.page_through("en", {"LANG": "en_US.UTF-8"}, remove_settings=True)

    def test_pages_in_japanese(self):
        self.page_through("ja", self.japanese_locale(), remove_settings=False)


GROUPS = {
    "release": ["test_zip_holds_the_four_files_and_the_versions_show"],
    "install": ["test_silent_install_run_set_upgrade_and_uninstall"],
    "folder": ["test_uninstall_keeps_the_users_files_in_a_folder_with_spaces"],
    "pages": ["test_pages_in_english", "test_pages_in_japanese"],
}


def main():
    if not os.path.exists(SETUP):
        print("no %s: build the release target first" % SETUP)
        return 1
    if subprocess.run(["bash", "-c", "source tools/wine-env.sh && [ $WINEARCH = win32 ]"], cwd=ROOT).returncode:
        print("SKIP: the setup program is 32-bit, and this kernel runs only 64-bit programs")
        return SKIPPED
    return run_groups(GROUPS, Checks)


if __name__ == "__main__":
    sys.exit(main())
