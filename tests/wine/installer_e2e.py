#!/usr/bin/env python3
"""End-to-end checks of the release under Wine: the zip, the real setup program (silently and
by its pages, shot in English and Japanese into --shots), the installed saver, the uninstaller.

usage: installer_e2e.py --bin WINDOWS_BIN --shots DIR --group GROUP
"""

import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

from check_groups import run_groups
from dialog_e2e import Dialog
from shell_e2e import Checks as ShellChecks
from wine_session import ROOT, SETTINGS_FILE, wait_until

with open(os.path.join(ROOT, "CMakeLists.txt")) as _f:
    VERSION = re.search(r"project\(Skyliner VERSION ([0-9.]+)", _f.read()).group(1)
SETUP = os.path.join(ROOT, "build", "windows", "release", "Skyliner-%s-setup.exe" % VERSION)
ZIP = os.path.join(ROOT, "build", "windows", "release", "Skyliner-%s-win32.zip" % VERSION)
PROGRAM_FILES = ["Skyliner.scr", "Skyliner.dll", "Skyliner.data"]
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Skyliner"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
PREVIOUS_SAVER = r"C:\windows\system32\previous.scr"
UNINSTALLER = "Uninstall Skyliner.exe"
REFUSED, RUNNING = 2, 3  # a silent setup's or uninstall's exit codes when it changed nothing


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Checks(ShellChecks):
    def windows_folder(self, folder):
        return "C:\\" + os.path.relpath(folder, self.drive_c()).replace("/", "\\")

    def reg(self, *args):
        out = os.path.join(self.s.work, "reg.out")
        with open(out, "w") as f:
            code = subprocess.call([self.s.wine, "reg", *args], stdout=f, stderr=subprocess.DEVNULL, env=self.s.env)
        return code, open(out, encoding="utf-8", errors="replace").read()

    def reg_value(self, key, name):
        """The value as reg.exe shows it, or None when there is none."""
        code, text = self.reg("query", key, "/v", name)
        values = [line.strip().split(None, 2) + [""] for line in text.splitlines()]
        return next((v[2] for v in values if code == 0 and len(v) > 2 and v[0].lower() == name.lower()), None)

    def drive_c(self, *names):
        return os.path.join(self.s.env["WINEPREFIX"], "drive_c", *names)

    def forget_install(self, folders):
        self.reg("delete", UNINSTALL_KEY, "/f")
        for folder in folders + [self.s.kestrel]:
            shutil.rmtree(folder, ignore_errors=True)

    def fresh_install(self, *names):
        """No Skyliner in the default folder nor in C:\\NAME for each name, before or after the check,
        and another saver chosen; returns those folders, the default first."""
        folders = [self.s.setup_default_folder()] + [self.drive_c(name) for name in names]
        self.forget_install(folders)
        self.later(lambda: self.forget_install(folders))
        self.reg("add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", PREVIOUS_SAVER, "/f")
        return folders

    def start(self, path, *args, name, language=None):
        process = self.s.start_program(path, args, name=name, language=language)
        self.later(lambda: self.s.end_process(process))
        return process

    def install(self, *args, code=0):
        got = self.start(SETUP, "/S", *args, name="setup").wait(60)
        assert got == code, "setup %s: exit code %s, not %s" % (" ".join(args), got, code)

    def wait_for_uninstaller(self):
        # It goes on from a copy of itself, Un.exe in a ~nsu*.tmp folder, started before the first ends.
        assert wait_until(lambda: not self.s.windows_processes("\\~nsu"), 30), "the uninstaller still runs"

    def start_uninstaller(self, folder, *args, language=None):
        return self.start(os.path.join(folder, UNINSTALLER), *args, name="uninstall", language=language)

    def uninstall(self, folder):
        assert self.start_uninstaller(folder, "/S").wait(30) == 0
        self.wait_for_uninstaller()

    def run_installed_saver(self, folder):
        run = self.shell("/s", program_dir=folder)
        assert run.wait_for_renderer_window(), "the installed saver showed no renderer window"
        return run

    def assert_installed(self, folder):
        """The three files as in the zip, the uninstaller, the uninstall entry, our saver chosen."""
        with zipfile.ZipFile(ZIP) as archive:
            for name in PROGRAM_FILES:
                assert read(os.path.join(folder, name)) == archive.read(name), "installed %s differs" % name
        assert os.path.exists(os.path.join(folder, UNINSTALLER)), "no uninstaller"
        windows = self.windows_folder(folder)
        code, saver = self.s.probe("short", windows + "\\Skyliner.scr")
        want = {(UNINSTALL_KEY, "DisplayName"): "Skyliner", (UNINSTALL_KEY, "DisplayVersion"): VERSION,
                (UNINSTALL_KEY, "Publisher"): "The Skyliner authors",
                (UNINSTALL_KEY, "DisplayIcon"): windows + "\\Skyliner.scr,0",
                (UNINSTALL_KEY, "QuietUninstallString"): '"%s\\%s" /S' % (windows, UNINSTALLER),
                (UNINSTALL_KEY, "PreviousScreenSaver"): PREVIOUS_SAVER,
                (DESKTOP_KEY, "SCRNSAVE.EXE"): saver, (DESKTOP_KEY, "ScreenSaveActive"): "1"}
        got = {key: self.reg_value(*key) for key in want}
        assert code == 0 and got == want, "registry:\n%s\nnot\n%s" % (got, want)
        size = int(self.reg_value(UNINSTALL_KEY, "EstimatedSize"), 16) * 1024
        assert size >= sum(len(read(os.path.join(folder, n))) for n in PROGRAM_FILES), "EstimatedSize %d" % size

    def assert_uninstalled(self, folder, saver_after=PREVIOUS_SAVER):
        left = [n for n in PROGRAM_FILES + [UNINSTALLER] if os.path.exists(os.path.join(folder, n))]
        assert not left, "left after the uninstall: %s" % left
        assert self.reg_value(UNINSTALL_KEY, "DisplayName") is None, "the uninstall entry is still there"
        saver = self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE")
        assert saver == saver_after, "SCRNSAVE.EXE %r after the uninstall, not %r" % (saver, saver_after)
        assert not os.path.exists(self.s.kestrel), "C:\\kestrel is still there"

    def test_zip_holds_the_four_files_and_the_versions_show(self):
        with zipfile.ZipFile(ZIP) as archive:
            assert archive.namelist() == PROGRAM_FILES + ["README.txt"], archive.namelist()
            readme = archive.read("README.txt")
        assert readme.startswith(b"\xef\xbb\xbf") and readme.count(b"\n") == readme.count(b"\r\n") > 0, "README.txt"
        for name, description, string1 in (("Skyliner.scr", "screensaver", "Skyliner"), ("Skyliner.dll", "renderer", "")):
            code, text = self.s.probe("version", self.s.windows_path(os.path.join(self.s.dist_dir, name)))
            fields = dict(line.split("=", 1) for line in text.splitlines() if "=" in line)
            want = {"fixed": VERSION + ".0", "ProductName": "Skyliner", "FileDescription": "Skyliner " + description,
                    "FileVersion": VERSION, "LegalCopyright": "Copyright (C) the Skyliner authors", "string1": string1}
            assert code == 0 and {key: fields.get(key) for key in want} == want, "%s: %s" % (name, text)

    def test_silent_install_run_set_upgrade_and_uninstall(self):
        folder = self.fresh_install()[0]
        self.install()
        self.assert_installed(folder)
        self.end_with_escape(self.run_installed_saver(folder))
        dialog = Dialog(self, program_dir=folder)
        dialog.click_button("Cmd_Set")
        assert dialog.wait_closed() is not None, "Set did not close the dialog"
        settings = read(os.path.join(folder, SETTINGS_FILE))
        self.install()
        assert read(os.path.join(folder, SETTINGS_FILE)) == settings, "the upgrade changed Skyliner.ini"
        self.assert_installed(folder)  # the saver kept before the first install, not our own
        self.uninstall(folder)
        self.assert_uninstalled(folder)
        assert read(os.path.join(folder, SETTINGS_FILE)) == settings, "a silent uninstall must keep Skyliner.ini"

    def test_uninstall_keeps_the_users_files_in_a_folder_with_spaces(self):
        folder = self.fresh_install("My Saver")[1]
        os.makedirs(folder)
        with open(os.path.join(folder, "notes.txt"), "wb") as f:
            f.write(b"mine\r\n")
        self.install("/D=C:\\My", "Saver")  # /D= takes the rest of the line, unquoted: Wine joins with a blank
        self.assert_installed(folder)
        assert "~" in self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"), "not the short form"
        self.uninstall(folder)
        self.assert_uninstalled(folder)
        assert read(os.path.join(folder, "notes.txt")) == b"mine\r\n", "the user's file changed"

    def test_screensaver_off_before_is_off_after(self):
        folder = self.fresh_install()[0]
        self.reg("add", DESKTOP_KEY, "/v", "ScreenSaveActive", "/d", "0", "/f")
        self.install()
        self.uninstall(folder)
        self.assert_uninstalled(folder)
        assert self.reg_value(DESKTOP_KEY, "ScreenSaveActive") == "0", "ScreenSaveActive not kept"

    def assert_nothing_changed(self, *folders, entry=None):
        assert self.reg_value(UNINSTALL_KEY, "InstallLocation") == entry, "the uninstall entry changed"
        assert self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE") == PREVIOUS_SAVER, "SCRNSAVE.EXE changed"
        made = [f for f in folders if os.path.exists(f)]
        assert not made, "folders made: %s" % made

    def test_unusable_folders_are_refused(self):
        made = self.fresh_install("Skyliner") + [os.path.join(self.s.work, "Skyliner")]
        open(self.drive_c("Blocked"), "w").close()
        self.later(lambda: os.remove(self.drive_c("Blocked")))
        for folder in (r"C:\Blocked\Skyliner", r"Z:\proc\Skyliner", "Skyliner", r"\\server\share\Skyliner",
                       r"C:\Sky*li<ner", "C:\\"):
            self.install("/D=" + folder, code=REFUSED)
            self.assert_nothing_changed(*made)

    def test_others_files_are_left_alone(self):
        _, tools, unpacked = self.fresh_install("Tools", "Unpacked")
        for folder, name in ((tools, "Uninstall.exe"), (unpacked, "Skyliner.dll")):
            os.makedirs(folder)
            with open(os.path.join(folder, name), "wb") as f:
                f.write(b"theirs")
        self.install("/D=C:\\Unpacked", code=REFUSED)
        assert read(os.path.join(unpacked, "Skyliner.dll")) == b"theirs", "Skyliner.dll overwritten"
        self.install("/D=C:\\Tools")
        self.assert_installed(tools)
        self.uninstall(tools)
        assert read(os.path.join(tools, "Uninstall.exe")) == b"theirs", "another program's Uninstall.exe changed"

    def test_a_second_folder_is_refused(self):
        first, second = self.fresh_install("Second")
        self.install()
        self.install("/D=C:\\Second", code=REFUSED)
        assert not os.path.exists(second), "the second folder was made"
        self.assert_installed(first)
        self.uninstall(first)
        self.assert_uninstalled(first)

    def test_setup_and_uninstall_refuse_while_the_saver_runs(self):
        folder = self.fresh_install()[0]
        self.install()
        run = self.run_installed_saver(folder)
        with open(os.path.join(folder, "Skyliner.data"), "ab") as f:
            f.write(b"mark")  # a setup that replaced any file would drop it
        before = {name: read(os.path.join(folder, name)) for name in PROGRAM_FILES + [UNINSTALLER]}
        self.install(code=RUNNING)
        uninstall = self.start_uninstaller(folder, "/S", "_?=" + self.windows_folder(folder))
        assert uninstall.wait(30) == RUNNING, "the uninstall went on while the saver ran"
        assert {name: read(os.path.join(folder, name)) for name in before} == before, "files changed"
        assert self.reg_value(UNINSTALL_KEY, "DisplayName") == "Skyliner", "the uninstall entry is gone"
        self.end_with_escape(run)

    def next_page(self, shot, *keys):
        """Waits for a setup window, keeps a picture of it, then presses the keys and Return."""
        windows = wait_until(lambda: subprocess.run(["xdotool", "search", "--name", "^Skyliner"], env=self.s.env,
                                                    stdout=subprocess.PIPE).stdout.split(), 20)
        assert windows, "no setup window for %s" % shot
        time.sleep(1.5)
        # xwininfo's place: xdotool counts the offset twice where there is no window manager.
        info = subprocess.run(["xwininfo", "-id", windows[0]], env=self.s.env, stdout=subprocess.PIPE).stdout.decode()
        x, y, width, height = (int(re.search(name + r":\s*(\d+)", info).group(1)) for name in (
            "Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
        self.s.screenshot(shot, width, height, x, y)
        for key in keys + ("Return",):
            subprocess.run(["xdotool", "key", key], env=self.s.env, check=True)
            time.sleep(0.3)

    def page_through(self, language, remove_settings, chosen_since=None):
        """Installs and uninstalls by the pages, ticking the settings' removal or not; with chosen_since,
        the user picks that screensaver in between, and the uninstaller must leave it."""
        folder = self.fresh_install()[0]
        setup = self.start(SETUP, name="setup", language=language)
        for page in ("welcome", "folder", "install", "finish"):
            if page == "install":
                assert wait_until(lambda: os.path.exists(os.path.join(folder, UNINSTALLER)), 30), "not installed"
            self.next_page("setup-%s-%s" % (language, page))
        assert setup.wait(20) == 0, "the setup program did not end after Finish"
        self.assert_installed(folder)
        with open(os.path.join(folder, SETTINGS_FILE), "wb") as f:
            f.write(b"[Section]\r\n")
        if chosen_since:
            self.reg("add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", chosen_since, "/f")
        self.start_uninstaller(folder, language=language)
        self.next_page("uninstall-%s-confirm" % language)
        # The settings' box is the second in the list, unticked: Down to it, Space to tick it.
        self.next_page("uninstall-%s-components" % language, *(("Down", "space") if remove_settings else ()))
        assert wait_until(lambda: not os.path.exists(os.path.join(folder, UNINSTALLER)), 30), "not uninstalled"
        self.next_page("uninstall-%s-done" % language)
        self.wait_for_uninstaller()
        self.assert_uninstalled(folder, chosen_since or PREVIOUS_SAVER)
        kept = os.path.exists(os.path.join(folder, SETTINGS_FILE))
        assert kept != remove_settings and os.path.exists(folder) == kept, "Skyliner.ini kept: %s" % kept

    def test_a_refused_folder_is_told_on_its_page(self):
        folder, skyliner = self.fresh_install("Skyliner")
        setup = self.start(SETUP, name="setup", language="ja")
        self.next_page("setup-ja-welcome")
        time.sleep(1)
        subprocess.run(["xdotool", "type", "--delay", "50", "C:\\Sky*liner"], env=self.s.env, check=True)
        self.next_page("setup-ja-folder-typed")
        time.sleep(1.5)
        self.s.screenshot("setup-ja-folder-refused", 600, 400, 340, 310)  # the page and its message box
        dialogs = [w for w in self.s.windows() if w[0] == "#32770"]
        assert setup.poll() is None and len(dialogs) == 2, "no message on the page: %s" % dialogs
        self.assert_nothing_changed(folder, skyliner, self.drive_c("Sky*liner"))

    def test_pages_in_english(self):
        self.page_through("en", remove_settings=True)

    def test_pages_in_japanese(self):
        self.page_through("ja", remove_settings=False, chosen_since=r"C:\windows\system32\other.scr")


GROUPS = {
    "release": ["test_zip_holds_the_four_files_and_the_versions_show"],
    "install": ["test_silent_install_run_set_upgrade_and_uninstall", "test_screensaver_off_before_is_off_after"],
    "folder": ["test_uninstall_keeps_the_users_files_in_a_folder_with_spaces"],
    "refusals": ["test_unusable_folders_are_refused", "test_others_files_are_left_alone",
                 "test_a_second_folder_is_refused", "test_setup_and_uninstall_refuse_while_the_saver_runs"],
    "pages": ["test_pages_in_english", "test_pages_in_japanese", "test_a_refused_folder_is_told_on_its_page"],
}

if __name__ == "__main__":
    if subprocess.run(["bash", "-c", "source tools/wine-env.sh && [ $WINEARCH = win32 ]"], cwd=ROOT).returncode:
        print("SKIP: the setup program is 32-bit, and this kernel runs only 64-bit programs")
        sys.exit(77)  # the tests' SKIP_RETURN_CODE
    sys.exit(run_groups(GROUPS, Checks))
