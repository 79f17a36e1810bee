#!/usr/bin/env python3
"""Click on Run to the first show frame, measured on the real program in a
real X window, as a viewer sees it.

The program is driven through its launcher with xdotool; the middle of the
show window is then read back from the X server every few milliseconds. The
loading picture is bright there (about 224 of 255), and the show's first
frames are dark (the opening comes up out of black, under 120), so the script
notes when the loading picture appears and when it gives way to the show.

With --hold S the show then plays on for S seconds and the peak resident
memory of the process (VmHWM) is reported too.

Run from the repository root, under a black-rooted X server large enough
for the window:
  xvfb-run -a -s "-screen 0 2560x1600x24 -br" \\
      python3 bench/show/start_time.py build/torvanel --size 1920x1080 --runs 5
"""
import argparse
import ctypes
import os
import statistics
import subprocess
import sys
import time

TITLE = "Torvanel quillaret by Ulv - 2024"
WINDOW_X, WINDOW_Y = 100, 140  # where the program puts its show window
RESOLUTION_CLICKS = {"1920x1080": 0, "2560x1440": 1, "1280x720": 2}

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]

Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF
SIDE = 16  # the square read back, in pixels


class Screen:
    def __init__(self):
        self.display = x11.XOpenDisplay(None)
        if not self.display:
            sys.exit("no X display")
        self.root = x11.XDefaultRootWindow(self.display)

    def brightness(self, x, y):
        """Mean of R, G and B (0 to 255) over a small square centred on x, y."""
        image = x11.XGetImage(self.display, self.root, x - SIDE // 2, y - SIDE // 2, SIDE, SIDE,
                              ALL_PLANES, Z_PIXMAP)
        if not image:
            return None
        total = 0
        for j in range(SIDE):
            for i in range(SIDE):
                p = x11.XGetPixel(image, i, j)
                total += ((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255)
        x11.XDestroyImage(image)
        return total / (3 * SIDE * SIDE)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


def wait_launcher(deadline):
    while time.monotonic() < deadline:
        for window in xdotool("search", "--name", TITLE).split():
            if "Geometry: 380x240" in xdotool("getwindowgeometry", window):
                return window
        time.sleep(0.05)
    return None


def click(window, x, y):
    xdotool("mousemove", "--window", window, str(x), str(y))
    time.sleep(0.1)
    xdotool("mousedown", "1")
    time.sleep(0.1)
    xdotool("mouseup", "1")
    time.sleep(0.1)


def cpu_seconds(pid):
    """User and system CPU time of the process so far: on a busy machine this
    varies far less than the wall time."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def peak_resident_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return None


def one_run(program, size, screen, hold):
    width, height = (int(v) for v in size.split("x"))
    middle = (WINDOW_X + width // 2, WINDOW_Y + height // 2)
    show = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        launcher = wait_launcher(time.monotonic() + 20)
        if not launcher:
            return None, "no launcher window"
        time.sleep(0.3)
        if screen.brightness(*middle) > 40:
            return None, "the screen is not dark where the show window will open (run the X server with -br)"
        for _ in range(RESOLUTION_CLICKS[size]):
            click(launcher, 190, 80)
        click(launcher, 190, 110)  # windowed
        xdotool("mousemove", "--window", launcher, "190", "200")
        time.sleep(0.1)
        clicked = time.monotonic()
        xdotool("mousedown", "1")
        time.sleep(0.06)  # held across two launcher frames, for builds that sample the button per frame
        xdotool("mouseup", "1")
        loading = first = None
        while time.monotonic() - clicked < 90 and show.poll() is None:
            value = screen.brightness(*middle)
            now = time.monotonic()
            if loading is None and value is not None and value > 180:
                loading = now
            elif loading is not None and value is not None and value < 120:
                first = now
                cpu = cpu_seconds(show.pid)
                break
            time.sleep(0.002)
        if first is None:
            return None, "no first frame within 90 s"
        peak = None
        if hold > 0:
            time.sleep(hold)
            if show.poll() is None:
                peak = peak_resident_mb(show.pid)
        return (loading - clicked, first - clicked, peak, cpu), None
    finally:
        show.kill()
        show.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--size", default="1280x720", choices=sorted(RESOLUTION_CLICKS))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--hold", type=float, default=0, help="seconds of show before reading the peak memory")
    args = parser.parse_args()
    screen = Screen()
    loading, first, peaks, cpus = [], [], [], []
    for run in range(args.runs):
        times, error = one_run(args.program, args.size, screen, args.hold)
        if error:
            print(f"run {run + 1}: {error}")
            continue
        loading.append(times[0])
        cpus.append(times[3])
        first.append(times[1])
        peak = f", peak resident {times[2]:.0f} MB" if times[2] is not None else ""
        if times[2] is not None:
            peaks.append(times[2])
        print(f"run {run + 1}: loading picture {times[0]:.3f} s, first show frame {times[1]:.3f} s "
              f"(CPU {times[3]:.2f} s){peak}")
    if first:
        print(f"{args.size}: loading picture median {statistics.median(loading):.3f} s "
              f"(spread {min(loading):.3f} to {max(loading):.3f} s), "
              f"first show frame median {statistics.median(first):.3f} s "
              f"(spread {min(first):.3f} to {max(first):.3f} s), "
              f"CPU to the first frame median {statistics.median(cpus):.2f} s")
    if peaks:
        print(f"{args.size}: peak resident memory median {statistics.median(peaks):.0f} MB "
              f"(spread {min(peaks):.0f} to {max(peaks):.0f} MB)")


if __name__ == "__main__":
    main()
