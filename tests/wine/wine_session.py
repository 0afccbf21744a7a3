"""One X display (Xvfb, or the two monitors of dummy_display) and one Wine
prefix for a run of the programs under Wine (the end-to-end checks, the main
job, the benchmark), with the helpers they use: starting the renderer, the
probe, keys, clicks, screenshots and pixels."""

import glob
import itertools
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

import contract
import dummy_display

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
RENDERER_CAPTION = contract.kRendererCaption
SHELL_PROGRAM = "Skyliner.scr"
RENDERER_PROGRAM = "Skyliner.dll"
# Wine's error channel goes to a log file per program, for wine_errors().
WINE_ERRORS = "-all,err+all"
MCI_TRACE = ",trace+mci,trace+winmm"
# With the process id on each line, since the renderer writes to the shell's log too.
CURSOR_TRACE = ",+pid,trace+cursor"
# The locales a program can run under (compiled by tools/wine-prefix.sh): Wine
# takes the UI language and the ANSI code page from them. The shell runs
# Japanese (code page 932) unless a check asks for another.
LOCALES = {"ja": "ja_JP.UTF-8", "en": "en_US.UTF-8", "utf8": "hi_IN.UTF-8"}


def wine_environment(virtual_desktop=True, display=None):
    """The environment tools/wine-env.sh sets up, with the prefix prepared (on the display, when
    one is given: Wine records the monitors it finds there); without the virtual desktop, the
    prefix that has none."""
    script = 'bash "$0/tools/wine-prefix.sh" >/dev/null && source "$0/tools/wine-env.sh" && env -0'
    given = {k: v for k, v in os.environ.items() if k not in ("SKYLINER_NO_DESKTOP", "DISPLAY")}
    if display:
        given["DISPLAY"] = display
    if not virtual_desktop:
        given["SKYLINER_NO_DESKTOP"] = "1"
    out = subprocess.run(["bash", "-c", script, ROOT], check=True, stdout=subprocess.PIPE, env=given).stdout
    env = dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)
    env["WINEDEBUG"] = WINE_ERRORS
    return env


def start_xvfb(width, height, *options):
    """An Xvfb of that size on a free display number: (its process, ":N")."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
                             "-nolisten", "tcp", *options], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        display = f.readline().strip()
    if not display.isdigit():
        xvfb.kill()
        raise RuntimeError("Xvfb did not start")
    return xvfb, ":" + display


def _unescape(text):
    """Undoes the backslash escapes of Wine's traces and of the probe's output."""
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def wait_until(condition, timeout, step=0.05):
    """Polls condition until it returns something true; returns that, or None on timeout."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > end:
            return value or None
        time.sleep(step)


# The virtual desktop size tools/wine-prefix.sh gives the prefix.
PREFIX_DESKTOP = "1280x1024"


class WineSession:
    def __init__(self, bin_dir, shots_dir, display=None, desktop=None, virtual_desktop=True, monitors=None,
                 screen=None):
        """desktop: a size WxH for Wine's virtual desktop during this session (the prefix's own
        is put back at close), with an X screen at least that large, and at least screen (WxH) if
        given, for desktops set later with set_desktop. With virtual_desktop=False,
        Wine meets the X server's own monitors and modes; monitors (a dummy_display layout)
        starts the dummy-driver server with those monitors instead of Xvfb."""
        self.bin_dir = bin_dir
        self.dist_dir = os.path.normpath(os.path.join(bin_dir, "..", "dist"))
        self._log_numbers = itertools.count(1)
        self.shots_dir = shots_dir
        os.makedirs(shots_dir, exist_ok=True)
        self.work = tempfile.mkdtemp(prefix="skyliner-wine-")
        self.desktop = desktop
        self.screen = screen
        self.layout = monitors
        if display:  # a real display: use it, start nothing
            self.x_server = None
        elif monitors:
            self.x_server, display = dummy_display.start(self.work, monitors)
        else:
            self.x_server, display = self._start_xvfb()
        # The display first: a new prefix is made on it.
        self.env = wine_environment(virtual_desktop, display)
        self.wine = self.env["WINE"]
        self.kestrel = os.path.join(self.env["WINEPREFIX"], "drive_c", contract.kWorkingFolderName)
        os.makedirs(self.kestrel, exist_ok=True)
        # A wineserver left from another display would put our windows there.
        subprocess.run(["wineserver", "-w"], env=self.env)
        if desktop:
            self.set_desktop(desktop)
        self.initial_mode = self.probe("mode")[1]

    def state(self, title):
        """(display mode, window placement or "absent") in one probe run."""
        lines = self.probe("state", title)[1].splitlines()
        return (lines + ["", ""])[0], (lines + ["", ""])[1]

    def set_desktop(self, size):
        """Gives Wine's virtual desktop that size WxH from the next program on."""
        subprocess.run([self.wine, "reg", "add", "HKCU\\Software\\Wine\\Explorer\\Desktops", "/v", "Default",
                        "/d", size, "/f"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env)

    def _start_xvfb(self):
        sides = [max(a, b) for a, b in zip((1280, 1024), map(int, (self.desktop or PREFIX_DESKTOP).split("x")))]
        if self.screen:
            sides = [max(a, int(b)) for a, b in zip(sides, self.screen.split("x"))]
        return start_xvfb(*sides)

    def close(self):
        subprocess.run(["wineserver", "-w"], env=self.env)  # let Wine leave the display first
        if self.desktop or self.screen:
            self.set_desktop(PREFIX_DESKTOP)
        if self.x_server:
            self.x_server.terminate()
            self.x_server.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    # --- Working files -------------------------------------------------------

    def put_files(self, files):
        """Empties C:\\kestrel and writes {name: bytes} into it."""
        for name in os.listdir(self.kestrel):
            os.remove(os.path.join(self.kestrel, name))
        for name, data in files.items():
            with open(os.path.join(self.kestrel, name), "wb") as f:
                f.write(data)

    # --- Windows programs ------------------------------------------------------

    def _output(self, name):
        return open(os.path.join(self.work, name), "w+", encoding="utf-8", errors="replace")

    def log_path(self, name):
        """A fresh log file name in the work folder, numbered so runs keep their own."""
        return os.path.join(self.work, "%03d-%s.log" % (next(self._log_numbers), name))

    def wine_errors(self, limit=20):
        """The last Wine "err:" lines of every program the session started, oldest log first."""
        lines = []
        for path in sorted(glob.glob(os.path.join(self.work, "*.log")), key=os.path.getmtime):
            with open(path, encoding="utf-8", errors="replace") as f:
                lines += [line.rstrip("\n") for line in f if ":err:" in line or line.startswith("err:")]
        return lines[-limit:]

    def start_program(self, path, args=(), name=None, debug=None, stdout=None, environment=None, language=None):
        """Starts a Windows program without waiting; Wine's messages go to a log of its own.
        Output to files: Wine's helper processes would hold a pipe open. environment adds to
        the session's for this program alone; language is a key of LOCALES."""
        env = dict(self.env, **(environment or {}))
        if debug:
            env["WINEDEBUG"] = debug
        if language:
            env["LANG"] = LOCALES[language]
        log = self.log_path(name or os.path.basename(path))
        with open(log, "w") as err:
            process = subprocess.Popen([self.wine, path, *args], stdout=stdout or err, stderr=err, env=env,
                                       cwd=self.work)
        process.log = log
        return process

    def _run_to_end(self, program, args, log, timeout=None, language=None):
        """Runs a program of the bin folder to its end, Wine's messages appended to log; returns
        (exit code, its output). language: a key of LOCALES."""
        env = dict(self.env, **({"LANG": LOCALES[language]} if language else {}))
        with self._output(program + ".out") as out, open(log, "a") as err:
            code = subprocess.call([self.wine, os.path.join(self.bin_dir, program), *args], stdout=out,
                                   stderr=err, env=env, cwd=self.work, timeout=timeout)
            out.seek(0)
            return code, out.read()

    def probe(self, *args):
        """Runs wine_probe; returns (exit code, its output without the final newline)."""
        code, output = self._run_to_end("wine_probe.exe", args, os.path.join(self.work, "wine_probe.log"))
        return code, output.strip()

    def monitors(self):
        """[(x, y, width, height, primary)] as Windows lists the monitors."""
        return [tuple(int(v) for v in line.split()) for line in self.probe("monitors")[1].splitlines()]

    def windows(self):
        """The visible top-level windows, topmost of the Z order first, as
        [(class, title, (x, y, width, height), topmost)]."""
        found = []
        for line in self.probe("windows")[1].splitlines():
            cls, title, rect, topmost = line.split("|")
            found.append((cls, title, tuple(int(v) for v in rect.split()), topmost == "1"))
        return found

    def dismiss(self, caption):
        """Presses OK on the message box of that caption from another process; returns (the probe's
        exit code, the box's text)."""
        code, text = self.probe("dismiss", caption)
        return code, _unescape(text)

    def renderer_frames(self):
        """The count of frames the renderer has swapped, as it publishes it on its window, or None
        while there is no renderer window."""
        code, text = self.probe("frames", RENDERER_CAPTION)
        if code != 0 or not text.lstrip("-").isdigit():
            return None
        return int(text)

    def probe_window(self, *args, timeout=10):
        """Starts a probe command that keeps a window open (picture, host); returns (process, first
        line of its output). Close it with end_process()."""
        out_path = self.log_path("probe-%s" % args[0])[:-len(".log")] + ".out"
        with open(out_path, "w") as out:
            process = self.start_program(os.path.join(self.bin_dir, "wine_probe.exe"), args,
                                         name="wine_probe-" + args[0], stdout=out)

        def first_line():
            with open(out_path, encoding="utf-8", errors="replace") as f:
                text = f.read()
            return text.split("\n")[0] if "\n" in text else (process.poll() is not None and "exit")

        line = wait_until(first_line, timeout)
        if not line or line == "exit":
            self.end_process(process)
            raise AssertionError("wine_probe %s did not start (exit code %s)" % (" ".join(args), process.poll()))
        return process, line

    @staticmethod
    def end_process(process, timeout=5):
        if process.poll() is None:
            process.kill()
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            pass

    def start_renderer(self, program=RENDERER_PROGRAM, args=()):
        return self.start_program(os.path.join(self.bin_dir, program), args, name="renderer")

    def run_windows_program(self, program, timeout, args=(), language=None):
        """Runs a console program to its end; returns (exit code, its output)."""
        return self._run_to_end(program, args, self.log_path(program), timeout, language)

    def windows_processes(self, name):
        """PIDs of this prefix's Windows processes whose command line names the program."""
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    command = f.read().replace(b"\0", b" ").decode("latin-1")
                with open("/proc/%s/environ" % entry, "rb") as f:
                    environ = f.read().split(b"\0")
            except OSError:
                continue  # gone, or not ours to read
            prefix = ("WINEPREFIX=" + self.env["WINEPREFIX"]).encode()
            if name.lower() in command.lower() and prefix in environ:
                found.append(int(entry))
        return found

    def kill_windows_processes(self, name):
        """Ends leftovers by PID, sparing the rest of the prefix (no wineserver -k)."""
        for pid in self.windows_processes(name):
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        wait_until(lambda: not self.windows_processes(name), 5)

    @staticmethod
    def windows_path(path):
        """The name a Windows program under Wine uses for a Linux path."""
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def setup_default_folder(self):
        """Where the setup program installs by default: %LOCALAPPDATA%\\Programs\\Skyliner of the prefix's user."""
        local = glob.glob(os.path.join(self.env["WINEPREFIX"], "drive_c", "users", "*", "AppData", "Local"))
        return os.path.join([p for p in local if "Public" not in p][0], "Programs", "Skyliner")

    def program_copy(self, without=(), replace=None, into=None):
        """A copy of the dist folder in the work folder (or in the new folder into), less the
        named files and with {name: bytes} replaced, so a check can change the program folder
        safely."""
        folder = into or tempfile.mkdtemp(prefix="program-", dir=self.work)
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(self.dist_dir):
            if name not in without:
                shutil.copy(os.path.join(self.dist_dir, name), folder)
        for name, data in (replace or {}).items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        return folder

    # --- The X side ----------------------------------------------------------

    def x_windows(self, title):
        """X windows whose name is exactly title."""
        result = subprocess.run(["xdotool", "search", "--name", "^%s$" % re.escape(title)], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        return result.stdout.split()

    def focused_x_window(self):
        result = subprocess.run(["xdotool", "getwindowfocus"], env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)
        return result.stdout.strip()

    def wait_for_renderer_focus(self, timeout):
        """True once the renderer's window has the X input focus, which keys need."""
        return bool(wait_until(lambda: self.focused_x_window() in self.x_windows(RENDERER_CAPTION), timeout))

    def tap_key(self, key):
        """A real key press through XTEST: down, a pause the loop can see, up."""
        subprocess.run(["xdotool", "keydown", key], env=self.env, check=True)
        time.sleep(0.2)
        subprocess.run(["xdotool", "keyup", key], env=self.env, check=True)

    def click(self, x, y):
        """A real left click through XTEST at the screen point."""
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=self.env, check=True)

    def screenshot(self, name, width=1024, height=768, x=0, y=0):
        """The screen's width x height at x, y (by default the top-left, where Wine's desktop is)
        as shots/name.png."""
        path = os.path.join(self.shots_dir, name + ".png")
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", path],
                       env=self.env, check=True)
        return path

    def screenshot_showing(self, name, width=1024, height=768, timeout=5):
        """A screenshot taken once more than the flat desktop shows: a window exists a moment before it
        is drawn. Returns its path; fails when nothing shows within timeout seconds."""
        def shot():
            path = self.screenshot(name, width, height)
            colours = subprocess.run(["convert", path, "-format", "%k", "info:"], check=True,
                                     stdout=subprocess.PIPE).stdout
            return int(colours) > 8 and path
        path = wait_until(shot, timeout, step=0.2)
        assert path, "%s: the screen showed only the desktop for %d s" % (name, timeout)
        return path

    @staticmethod
    def pixels(path, x, y, width, height, sample=None):
        """The region's pixels as a list of (r, g, b); with sample=(w, h), a w x h sample of them (a
        whole monitor pixel by pixel takes seconds to judge)."""
        resize = ["-sample", "%dx%d!" % sample] if sample else []
        raw = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", *resize,
                              "-depth", "8", "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
        return [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]


def shipped_files():
    """The bundled model and pictures, where the shell would put them."""
    names = {contract.kModelCopyName: contract.kModelFileName, contract.kDesktopPictureName: "sample-desktop.bmp",
             contract.kPuffPictureName: "puff.bmp", contract.kSkyPictureName: "sky.bmp"}
    files = {}
    for target, source in names.items():
        path = os.path.join(ROOT, "assets", source)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            files[target] = f.read()
    return files


class RendererRun:
    """One renderer process and the checks made on it."""

    def __init__(self, session, process=None, args=()):
        """process: a renderer the check started itself; otherwise the bin folder's is started with args."""
        self.session = session
        self.process = process or session.start_renderer(args=args)

    def wait_for_window(self, timeout=20):
        found = wait_until(lambda: self.session.x_windows(RENDERER_CAPTION) or self.process.poll() is not None,
                           timeout)
        assert found and self.process.poll() is None, "no window \"%s\" appeared (exit code %s)" % (
            RENDERER_CAPTION, self.process.poll())
        # Keys reach the window only once it has the X input focus.
        assert self.session.wait_for_renderer_focus(timeout), "the window \"%s\" never got the input focus" % (
            RENDERER_CAPTION)

    def wait_for_exit(self, timeout=15):
        try:
            return self.process.wait(timeout)
        except Exception:
            self.process.kill()
            self.process.wait()
            raise AssertionError("the renderer did not end within %d s" % timeout)

    def end_with_escape(self):
        self.session.tap_key("Escape")
        return self.wait_for_exit()

    def kill(self):
        self.session.end_process(self.process)


# --- The shell ------------------------------------------------------------------

SETTINGS_FILE = "Skyliner.ini"
SETTINGS_SECTION = b"Section"
# The three keys in the system's code page 932: music kind, CD track to repeat, music file.
KEY_KIND = b"BGM\x8b\xe6\x95\xaa"
KEY_REPEAT = b"BGM\xd8\xcb\xdf\xb0\xc4"
KEY_FILE = b"BGM\xcc\xa7\xb2\xd9"
# The fourth, plain ASCII: the display way (0 classic, 1 every monitor).
KEY_DISPLAY = b"Display"


def settings_text(kind, repeat=0, music="", display=None):
    """The bytes of the shell's settings file as the dialog's Set writes it (the display way
    only when given, as in a file from before it existed)."""
    lines = [b"[" + SETTINGS_SECTION + b"]",
             KEY_KIND + b"=" + str(kind).encode(),
             KEY_REPEAT + b"=" + str(repeat).encode(),
             KEY_FILE + b"=" + music.encode("cp932")]
    if display is not None:
        lines.append(KEY_DISPLAY + b"=" + str(display).encode())
    return b"\r\n".join(lines) + b"\r\n"


def write_settings(folder, kind, repeat=0, music="", display=None):
    """Writes settings_text(...) as the program folder's settings file; returns its path."""
    path = os.path.join(folder, SETTINGS_FILE)
    with open(path, "wb") as f:
        f.write(settings_text(kind, repeat, music, display))
    return path


class SettingsFile:
    """The settings file for the length of a with-block, removed afterwards."""

    def __init__(self, folder, kind, repeat=0, music=""):
        self.path = write_settings(folder, kind, repeat, music)

    def __enter__(self):
        return self.path

    def __exit__(self, *exc):
        if os.path.exists(self.path):
            os.remove(self.path)


_MCI_COMMAND = re.compile(r':trace:mci:mciSendStringW \(L"(.*)", [0-9A-Fa-f]{8}, \d+, [0-9A-Fa-f]{8}\)$')
_PLAY_SOUND = re.compile(r":trace:winmm:MULTIMEDIA_PlaySound pszSound='([0-9A-Fa-f]+)' .*fdwSound=([0-9A-Fa-f]+)")
_SOUND_NAME = re.compile(r':trace:winmm:proc_PlaySound SoundName=L"(.*)" !')
_SHOW_CURSOR = re.compile(r"^([0-9a-f]+):[0-9a-f]+:trace:cursor:NtUserShowCursor (-?\d+), count=(-?\d+)")


class ShellRun:
    """One start of Skyliner.scr (from the dist folder or a copy of it) and the renderer it starts."""

    def __init__(self, session, args=("/s",), trace_mci=False, trace_cursor=False, program_dir=None, language="ja"):
        self.session = session
        self.program_dir = program_dir or session.dist_dir
        debug = WINE_ERRORS + (MCI_TRACE if trace_mci else "") + (CURSOR_TRACE if trace_cursor else "")
        self.process = session.start_program(os.path.join(self.program_dir, SHELL_PROGRAM), args, name="shell",
                                             debug=debug, language=language)
        self.log = self.process.log
        self.started = time.monotonic()

    def renderer_processes(self):
        return self.session.windows_processes(RENDERER_PROGRAM)

    def wait_for_renderer_window(self, timeout=20):
        """True once a window "Jetscape_VC" exists."""
        return bool(wait_until(lambda: self.session.x_windows(RENDERER_CAPTION), timeout))

    def wait_for_focus(self, timeout=10):
        """True once the renderer's window has the X input focus, which keys need."""
        return self.session.wait_for_renderer_focus(timeout)

    def wait_for_exit(self, timeout):
        """The shell's exit code, or None if it still runs after timeout seconds."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        """Ends the shell and any renderer of this prefix, by PID."""
        self.session.end_process(self.process)
        self.session.kill_windows_processes(RENDERER_PROGRAM)

    def cursor_calls(self):
        """With trace_cursor: the shell's own ShowCursor calls as (show flag, resulting count), in order.
        The shell's process is the one that wrote the log's first line."""
        with open(self.log, encoding="utf-8", errors="replace") as f:
            lines = f.read().splitlines()
        shell_pid = lines[0].split(":")[0] if lines else None
        calls = [_SHOW_CURSOR.match(line) for line in lines]
        return [(int(m.group(2)), int(m.group(3))) for m in calls if m and m.group(1) == shell_pid]

    def mci_calls(self):
        """With trace_mci: the MCI command strings and PlaySound calls, in order. A PlaySound call reads
        "PlaySound NAME flags=N", with NAME "NULL" for no sound name."""
        calls = []
        pending_names = []  # PlaySound calls whose name the playing thread logs later
        with open(self.log, encoding="utf-8", errors="replace") as f:
            for line in f:
                line = line.rstrip("\n")
                command, sound, name = _MCI_COMMAND.search(line), _PLAY_SOUND.search(line), _SOUND_NAME.search(line)
                if command:
                    calls.append(_unescape(command.group(1)))
                elif sound:
                    null = int(sound.group(1), 16) == 0
                    calls.append("PlaySound %s flags=%d" % ("NULL" if null else "?", int(sound.group(2), 16)))
                    if not null:
                        pending_names.append(len(calls) - 1)
                elif name and pending_names:
                    index = pending_names.pop(0)
                    calls[index] = calls[index].replace("?", _unescape(name.group(1)), 1)
        return calls
