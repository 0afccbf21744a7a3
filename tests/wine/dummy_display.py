"""A headless X server with the monitors of a layout, for the checks that
need more than Xvfb's one fixed screen: Xorg with the dummy video driver.
Layout "two": its first output at 1280 x 1024 (the primary) and its second
at 1024 x 768 to the right; "wide": one 2560 x 1080 panel. Unlike Xvfb, its
outputs accept mode switches through RandR.

As a script it starts the server, prints its DISPLAY and runs until ended:
    python3 tests/wine/dummy_display.py [two|wide]"""

import os
import subprocess
import sys
import tempfile
import time

PRIMARY_MODE = "1280x1024"
SECOND_MODE = "1024x768"
PRIMARY_OUTPUT = "DUMMY0"
SECOND_OUTPUT = "DUMMY1"
# (output, mode) from left to right, the first the primary.
LAYOUTS = {
    "two": ((PRIMARY_OUTPUT, PRIMARY_MODE), (SECOND_OUTPUT, SECOND_MODE)),
    "wide": ((PRIMARY_OUTPUT, "2560x1080"),),
}
# Modes the driver does not know by itself, as gtf gives them at 60 Hz.
MODELINES = {"2560x1080": "230.76 2560 2728 3000 3440 1080 1081 1084 1118 -HSync +Vsync"}

CONFIG = """
Section "Device"
  Identifier "dummy card"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "dummy monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "dummy screen"
  Device "dummy card"
  Monitor "dummy monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 4096 2048
  EndSubSection
EndSection
"""


def xrandr(display, *args):
    env = dict(os.environ, DISPLAY=display)
    return subprocess.run(["xrandr", *args], env=env, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE).stdout.decode()


def outputs(display):
    """{output: "WIDTHxHEIGHT+X+Y"} of the connected outputs that show something."""
    found = {}
    for line in xrandr(display, "--query").splitlines():
        words = line.split()
        if len(words) > 2 and words[1] == "connected":
            geometry = next((w for w in words[2:] if "+" in w and "x" in w), None)
            if geometry:
                found[words[0]] = geometry
    return found


def arrange(display, layout="two"):
    """Puts the layout's outputs in their modes and places (again, after a program that changed them died)."""
    args, left = [], None
    for output, mode in LAYOUTS[layout]:
        args += ["--output", output, "--mode", mode] + (["--right-of", left] if left else ["--primary"])
        left = output
    xrandr(display, *args)


def start(work_dir, layout="two"):
    """Starts the server with the layout's outputs set up; returns (process, DISPLAY)."""
    config = os.path.join(work_dir, "xorg-dummy.conf")
    with open(config, "w") as f:
        f.write(CONFIG)
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xorg", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
                               "-config", config, "-logfile", os.path.join(work_dir, "xorg.log")],
                              pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    if not number:
        server.wait()
        raise RuntimeError("Xorg with the dummy driver did not start (see %s/xorg.log)" % work_dir)
    display = ":" + number
    for output, mode in LAYOUTS[layout]:
        if mode in MODELINES:
            xrandr(display, "--newmode", mode, *MODELINES[mode].split())
        if output != PRIMARY_OUTPUT or mode in MODELINES:
            xrandr(display, "--addmode", output, mode)
    arrange(display, layout)
    # Wine reads the monitors as its programs start: they must all be there by then.
    deadline = time.monotonic() + 10
    while len(outputs(display)) < len(LAYOUTS[layout]) and time.monotonic() < deadline:
        time.sleep(0.1)
    return server, display


def main():
    work_dir = tempfile.mkdtemp(prefix="skyliner-xorg-")
    server, display = start(work_dir, *sys.argv[1:2])
    print(display)
    print(outputs(display), file=sys.stderr)
    sys.stdout.flush()
    try:
        server.wait()
    except KeyboardInterrupt:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
