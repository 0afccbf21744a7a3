#!/usr/bin/env python3
"""The packaged hack with the real xscreensaver daemon in Xvfb: the daemon, run by an unprivileged user (it
launches no hack as root), re-reads the ~/.xscreensaver the package's setup command changed, starts the hack over
the grabbed desktop and ends it on -deactivate; the hack follows a window of our own through a resize; with
grabbing off it flies over the sample desktop and says so once; MATE's screensaver runs it by its desktop entry.
Screenshots go to --shots."""
import argparse
import ctypes
import ctypes.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from wine_session import start_xvfb, wait_until  # noqa: E402

USER = "skyliner-e2e"
MAGENTA, YELLOW = (255, 0, 255), (255, 255, 0)  # the planted desktop: colours the scene has nowhere else
SAMPLE_LINE = re.compile(r"^skyliner: no desktop picture \(.*\); flying over the sample desktop$")
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


def screenshot(env, path, window="root"):
    """Takes the screen (or the window) to path; returns (width, height, rows of RGB tuples, top row first)."""
    subprocess.run(["import", "-window", window, path], env=env, check=True)
    data = subprocess.run(["convert", path, "ppm:-"], check=True, capture_output=True).stdout
    _, width, height, _, pixels = data.split(maxsplit=4)
    width, height = int(width), int(height)
    return width, height, [[tuple(pixels[i:i + 3]) for i in range(y * width * 3, (y + 1) * width * 3, 3)]
                           for y in range(height)]


def near(pixel, colour):
    return all(abs(a - b) <= 40 for a, b in zip(pixel, colour))


def is_sky(pixel):
    r, g, b = pixel
    return b >= 150 and b >= r and b > g


def planted(pixels):
    """How many of the pixels show the planted desktop."""
    return sum(1 for p in pixels if near(p, MAGENTA) or near(p, YELLOW))


def band(rows, top, bottom, left=0, right=None):
    return [p for row in rows[top:bottom] for p in row[left:right]]


def alive(pid):
    """Running: neither gone nor a zombie waiting for its parent."""
    try:
        return open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def hack_pids(*which):
    out = subprocess.run(["pgrep", "-x", *(which or ("-u", USER)), "skyliner"], capture_output=True, text=True).stdout
    return [int(p) for p in out.split()]


class OurWindow:
    """A plain X window of the test's own, made and resized through Xlib."""

    def __init__(self, display, width, height):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = self.x.XDefaultRootWindow.restype = ctypes.c_void_p
        self.x.XCreateSimpleWindow.restype = ctypes.c_ulong
        self.display = ctypes.c_void_p(self.x.XOpenDisplay(display.encode()))
        root = ctypes.c_ulong(self.x.XDefaultRootWindow(self.display))
        black = ctypes.c_ulong(0)
        self.id = self.x.XCreateSimpleWindow(self.display, root, 300, 200, width, height, 0, black, black)
        self.x.XMapWindow(self.display, ctypes.c_ulong(self.id))
        self.x.XSync(self.display, 0)

    def resize(self, width, height):
        self.x.XResizeWindow(self.display, ctypes.c_ulong(self.id), width, height)
        self.x.XSync(self.display, 0)


def settings_file(home, grab):
    """An ~/.xscreensaver that locks and fades nothing; "selected" names the entry the setup command adds."""
    lines = ["timeout: 0:30:00", "lock: False", "fade: False", "unfade: False", "splash: False", "mode: one",
             "selected: 1", "grabDesktopImages: %s" % grab, "grabVideoFrames: False", "chooseRandomImages: False",
             "programs:\t\\", "-\t\t\t\tmaze --root\t\t\t\t    \\n\\", ""]
    with open(os.path.join(home, ".xscreensaver"), "w") as f:
        f.write("\n".join(lines) + "\n")


def show_pattern(work, env):
    """A full-screen window holding the planted desktop: magenta left, yellow right."""
    picture = os.path.join(work, "pattern.png")
    subprocess.run(["convert", "-size", "800x600", "xc:rgb%s" % (MAGENTA,), "-fill", "rgb%s" % (YELLOW,),
                    "-draw", "rectangle 400,0 800,600", picture], check=True)
    viewer = subprocess.Popen(["display", "-geometry", "800x600+0+0", "-title", "planted", picture], env=env)
    wait_until(lambda: subprocess.run(["xdotool", "search", "--name", "planted"], env=env,
                                    capture_output=True).returncode == 0, 10)
    time.sleep(0.5)
    return viewer


def check_package_files(root):
    for path in ("usr/share/xscreensaver/config/skyliner.xml", "usr/share/applications/screensavers/skyliner.desktop"):
        check(os.path.isfile(os.path.join(root, path)), "the package installs /" + path)
    check(not os.path.exists(os.path.join(root, "etc")), "the package installs nothing in /etc")


def run_daemon(root, home, env, shots):
    settings_file(home, "True")
    shutil.chown(os.path.join(home, ".xscreensaver"), USER)
    hacks_dir = os.path.join(root, "usr/libexec/xscreensaver")
    as_user = ["runuser", "-u", USER, "--", "env", "DISPLAY=" + env["DISPLAY"], "HOME=" + home, "USER=" + USER,
               "LOGNAME=" + USER, "PATH=%s:%s" % (hacks_dir, env["PATH"])]
    log_path = os.path.join(shots, "xscreensaver.log")
    with open(log_path, "w") as log:
        daemon = subprocess.Popen(as_user + ["xscreensaver", "-no-splash"], stdout=log, stderr=log, cwd=home)
    command = lambda what: subprocess.run(as_user + ["xscreensaver-command", what], capture_output=True)
    try:
        check(wait_until(lambda: command("-version").returncode == 0, 15, 0.2), "the daemon answers")
        # A change within the second the daemon read the file could pass for the file it read.
        time.sleep(max(0.0, os.path.getmtime(os.path.join(home, ".xscreensaver")) + 1.1 - time.time()))
        setup = subprocess.run(as_user + ["sh", os.path.join(root, "usr/bin/skyliner-xscreensaver-setup")],
                               capture_output=True, text=True)
        check(setup.returncode == 0, "the setup command adds the hack: " + setup.stdout.splitlines()[0])
        command("-activate")
        check(wait_until(hack_pids, 10), "-activate starts the hack")
        started = [os.readlink("/proc/%d/exe" % p) for p in hack_pids()]
        check(started == [os.path.join(hacks_dir, "skyliner")], "the packaged hack runs (%s)" % started)
        time.sleep(3)
        width, height, rows = screenshot(env, os.path.join(shots, "daemon_flight.png"))
        sky, ground = band(rows, 0, height // 10), band(rows, height * 2 // 3, height)
        check(sum(map(is_sky, sky)) > 0.8 * len(sky), "the sky is at the top")
        check(planted(ground) > 0.3 * len(ground), "the planted desktop is the ground (%d pixels)" % planted(ground))
        check(sum(1 for p in band(rows, height // 3, height) if min(p) > 200) > 300, "the aircraft is in the picture")
        hacks = hack_pids()
        command("-deactivate")
        started = time.monotonic()
        gone = wait_until(lambda: not any(alive(p) for p in hacks), 1.0, 0.005)
        check(gone, "-deactivate ends the hack within 1 s (%.0f ms)" % (1000 * (time.monotonic() - started)))
    finally:
        command("-exit")
        try:
            daemon.wait(5)
        except subprocess.TimeoutExpired:
            daemon.kill()
    said = open(log_path).read()
    check(not re.search(r"X error|X Error|core dumped|signal (6|11)\b", said), "no X error or crash in the log")
    check(not [f for f in os.listdir(home) if f.startswith("core")], "no core file")


def run_mate(root, env, work, shots):
    """MATE's screensaver runs the hack by its desktop entry's theme; only it sees the package in /usr (an overlay)."""
    if not shutil.which("mate-screensaver") or subprocess.run(["unshare", "-m", "true"]).returncode:
        return print("skip  MATE's screensaver is not installed, or no mount namespace can be made here")
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True)
    env = dict(env, DBUS_SESSION_BUS_ADDRESS=bus.stdout.readline().strip(), GSETTINGS_BACKEND="keyfile",
               XDG_CONFIG_HOME=os.path.join(work, "mate-config"), NO_AT_BRIDGE="1")
    for key, value in (("mode", "single"), ("themes", "['screensavers-skyliner']"), ("lock-enabled", "false")):
        subprocess.run(["gsettings", "set", "org.mate.screensaver", key, value], env=env, check=True)
    mount = 'mount -t overlay overlay -o lowerdir=%s:/usr /usr && exec "$@"' % os.path.join(root, "usr")
    with open(os.path.join(shots, "mate-screensaver.log"), "w") as log:
        mate = subprocess.Popen(["unshare", "-m", "sh", "-c", mount, "sh", "mate-screensaver", "--no-daemon", "--debug"],
                                env=env, stdout=log, stderr=log)
    command = lambda what: subprocess.run(["mate-screensaver-command", what], env=env, capture_output=True)
    try:
        check(wait_until(lambda: command("--query").returncode == 0, 15, 0.2), "MATE's screensaver answers")
        command("--activate")
        check(wait_until(lambda: hack_pids("-P", str(mate.pid)), 10), "MATE's screensaver starts the hack")
        time.sleep(2)
        sky = band(screenshot(env, os.path.join(shots, "mate_flight.png"))[2], 0, 60)
        check(sum(map(is_sky, sky)) > 0.8 * len(sky), "under MATE's screensaver the sky is at the top")
        hacks = hack_pids("-P", str(mate.pid))
        command("--deactivate")
        check(wait_until(lambda: not any(alive(p) for p in hacks), 2.0, 0.01), "--deactivate ends the hack")
    finally:
        command("--exit")
        for process in (mate, bus):
            process.kill()
            process.wait()


def start_hack(hack, window, env, home, stderr_path, *options):
    with open(stderr_path, "w") as errors:
        return subprocess.Popen([hack, "-window-id", hex(window.id)] + list(options), env=dict(env, HOME=home),
                                stderr=errors)


def stop_hack(run, what):
    run.terminate()
    started = time.monotonic()
    code = run.wait(5)
    elapsed = 1000 * (time.monotonic() - started)
    check(code == 0 and elapsed < 1000, "%s: SIGTERM ends the hack at once with code 0 (%d, %.0f ms)" %
          (what, code, elapsed))


def run_in_own_window(hack, env, work, shots):
    """The hack in a 200x150 window of ours: with grabbing off, then over the
    planted picture through a resize to 320x240."""
    home = os.path.join(work, "nograb")
    os.makedirs(home)
    settings_file(home, "False")
    window = OurWindow(env["DISPLAY"], 200, 150)
    stderr_path = os.path.join(shots, "window_nograb.stderr")
    run = start_hack(hack, window, env, home, stderr_path)
    time.sleep(2)
    subprocess.run(["import", "-window", str(window.id), os.path.join(shots, "window_nograb.png")], env=env)
    stop_hack(run, "grabbing off")
    said = open(stderr_path).read().splitlines()
    check(len(said) == 1 and SAMPLE_LINE.match(said[0]), "with grabbing off, one line says the sample desktop is flown over")

    stderr_path = os.path.join(shots, "window_hack.stderr")
    run = start_hack(hack, window, env, home, stderr_path, "-fps", "-ground", os.path.join(work, "pattern.png"))
    time.sleep(2.5)
    for size in ((200, 150), (320, 240)):
        if size != (200, 150):
            window.resize(*size)
            time.sleep(1.5)
        width, height, rows = screenshot(env, os.path.join(shots, "window_%dx%d.png" % size), str(window.id))
        check((width, height) == size, "the window is %dx%d" % size)
        for name, left in (("left", 0), ("right", width - width // 8)):
            corner = band(rows, 0, height // 8, left, left + width // 8)
            check(sum(map(is_sky, corner)) > len(corner) // 2,
                  "at %dx%d the flight fills the window: sky in the top %s corner" % (size + (name,)))
        ground = band(rows, height - height // 8, height)
        check(planted(ground) > len(ground) // 2, "at %dx%d the planted picture is the ground at the bottom" % size)
    stop_hack(run, "in our window")
    said = open(stderr_path).read().splitlines()
    check(said and all("frames a second" in line for line in said), "-fps reports, nothing else is said")
    print("      " + (said[-1] if said else "no frame-rate line"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the native build folder")
    parser.add_argument("--shots", required=True)
    args = parser.parse_args()
    if os.geteuid() != 0:
        print("SKIP: needs root to make the test user")
        return 77
    os.makedirs(args.shots, exist_ok=True)
    work = tempfile.mkdtemp(prefix="skyliner-hack-")
    os.chmod(work, 0o755)
    xvfb = None
    try:
        subprocess.run(["cpack", "-G", "DEB", "-B", work], cwd=args.build, check=True, stdout=subprocess.DEVNULL)
        deb = [os.path.join(work, f) for f in os.listdir(work) if re.match(r"skyliner_[0-9.]+_amd64\.deb$", f)]
        check(len(deb) == 1, "cpack makes skyliner_<version>_amd64.deb")
        root = os.path.join(work, "root")
        subprocess.run(["dpkg-deb", "-x", deb[0], root], check=True)
        check_package_files(root)
        hack = os.path.join(root, "usr/libexec/xscreensaver/skyliner")

        xvfb, display = start_xvfb(800, 600, "-ac")  # -ac: the daemon runs as another user
        env = {k: v for k, v in os.environ.items() if k != "XSCREENSAVER_WINDOW"}
        env["DISPLAY"] = display
        pattern = show_pattern(work, env)
        home = os.path.join(work, "home")
        if subprocess.run(["id", USER], capture_output=True).returncode != 0:
            subprocess.run(["useradd", "--no-create-home", "--shell", "/bin/sh", USER], check=True)
        os.makedirs(home)
        shutil.chown(home, USER)
        run_daemon(root, home, env, args.shots)
        pattern.kill()
        run_in_own_window(hack, env, work, args.shots)
        run_mate(root, env, work, args.shots)
    finally:
        if xvfb:
            xvfb.kill()
        shutil.rmtree(work, ignore_errors=True)
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
