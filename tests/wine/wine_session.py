"""One Xvfb display and one Wine prefix for a run of end-to-end checks, with
the helpers the checks use: starting the renderer, the probe, keys,
screenshots and pixels."""

import os
import shutil
import subprocess
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
RENDERER_CAPTION = "Jetscape_VC"


def wine_environment():
    """The environment tools/wine-env.sh sets up, with the prefix prepared."""
    script = 'bash "$0/tools/wine-prefix.sh" >/dev/null && source "$0/tools/wine-env.sh" && env -0'
    out = subprocess.run(["bash", "-c", script, ROOT], check=True, stdout=subprocess.PIPE).stdout
    env = dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)
    env["WINEDEBUG"] = "-all"
    return env


def wait_until(condition, timeout, step=0.05):
    """Polls condition until it returns something true; returns that, or None on timeout."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > end:
            return value or None
        time.sleep(step)


class WineSession:
    def __init__(self, bin_dir, shots_dir, display=None):
        self.bin_dir = bin_dir
        self.shots_dir = shots_dir
        os.makedirs(shots_dir, exist_ok=True)
        self.env = wine_environment()
        self.wine = self.env["WINE"]
        self.kestrel = os.path.join(self.env["WINEPREFIX"], "drive_c", "kestrel")
        os.makedirs(self.kestrel, exist_ok=True)
        self.work = tempfile.mkdtemp(prefix="skyliner-wine-")
        # A wineserver left from another display would put our windows there.
        subprocess.run(["wineserver", "-w"], env=self.env)
        if display:  # a real display: use it, start nothing
            self.env["DISPLAY"] = display
            self.xvfb = None
        else:
            self.xvfb = self._start_xvfb()
        self.initial_mode = self.probe("mode")[1]

    def state(self, title):
        """(display mode, window placement or "absent") in one probe run."""
        lines = self.probe("state", title)[1].splitlines()
        return (lines + ["", ""])[0], (lines + ["", ""])[1]

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], pass_fds=(write_end,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            display = f.readline().strip()
        self.env["DISPLAY"] = ":" + display
        return xvfb

    def close(self):
        subprocess.run(["wineserver", "-w"], env=self.env)  # let Wine leave the display first
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
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
        return open(os.path.join(self.work, name), "w+")

    def probe(self, *args):
        """Runs wine_probe; returns (exit code, its output without the final newline)."""
        with self._output("probe.out") as out:
            code = subprocess.call([self.wine, os.path.join(self.bin_dir, "wine_probe.exe"), *args],
                                   stdout=out, stderr=subprocess.DEVNULL, env=self.env, cwd=self.work)
            out.seek(0)
            return code, out.read().strip()

    def start_renderer(self, program="Skyliner.dll"):
        # Output to files: Wine's helper processes would hold a pipe open.
        self.renderer_out = self._output("renderer.out")
        return subprocess.Popen([self.wine, os.path.join(self.bin_dir, program)], stdout=self.renderer_out,
                                stderr=subprocess.STDOUT, env=self.env, cwd=self.work)

    def run_windows_program(self, program, timeout):
        """Runs a console program to its end; returns (exit code, its output)."""
        with self._output(program + ".out") as out:
            code = subprocess.call([self.wine, os.path.join(self.bin_dir, program)], stdout=out,
                                   stderr=subprocess.STDOUT, env=self.env, cwd=self.work, timeout=timeout)
            out.seek(0)
            return code, out.read()

    # --- The X side ----------------------------------------------------------

    def x_windows(self, title):
        """X windows whose name is exactly title."""
        result = subprocess.run(["xdotool", "search", "--name", "^%s$" % title], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        return result.stdout.split()

    def focused_x_window(self):
        result = subprocess.run(["xdotool", "getwindowfocus"], env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)
        return result.stdout.strip()

    def tap_key(self, key):
        """A real key press through XTEST: down, a pause the loop can see, up."""
        subprocess.run(["xdotool", "keydown", key], env=self.env, check=True)
        time.sleep(0.2)
        subprocess.run(["xdotool", "keyup", key], env=self.env, check=True)

    def screenshot(self, name, width=1024, height=768):
        """The screen's top-left width x height (where Wine's desktop is) as shots/name.png."""
        path = os.path.join(self.shots_dir, name + ".png")
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+0+0" % (width, height), "+repage", path],
                       env=self.env, check=True)
        return path

    @staticmethod
    def pixels(path, x, y, width, height):
        """The region's pixels as a list of (r, g, b)."""
        raw = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
                              "-depth", "8", "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
        return [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]


def shipped_files():
    """The bundled model and pictures, where the shell would put them."""
    names = {"Jetscape.data": "Skyliner.data", "Jetscape1.bmp": "sample-desktop.bmp", "Jetscape2.bmp": "puff.bmp",
             "Jetscape3.bmp": "sky.bmp"}
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

    def __init__(self, session):
        self.session = session
        self.process = session.start_renderer()

    def wait_for_window(self, timeout=20):
        found = wait_until(lambda: self.session.x_windows(RENDERER_CAPTION) or self.process.poll() is not None,
                           timeout)
        assert found and self.process.poll() is None, "no window \"%s\" appeared (exit code %s)" % (
            RENDERER_CAPTION, self.process.poll())
        # Keys reach the window only once it has the X input focus.
        focused = wait_until(lambda: self.session.focused_x_window() in self.session.x_windows(RENDERER_CAPTION),
                             timeout)
        assert focused, "the window \"%s\" never got the input focus" % RENDERER_CAPTION

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
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
