"""Shared by the end-to-end tests: the real serolis binary on the X server named by DISPLAY (a
private Xvfb started by script/xvfb-exec, without a window manager), in a fresh working directory,
with a stand-in xdg-open first on PATH that only records its arguments.

The program is driven with xdotool and judged by screenshots (ImageMagick's import) and by the
recorded arguments. A thin Xlib layer (ctypes, standard library only) lists the top-level windows,
gives the keyboard focus and waits until the program has handled everything sent so far.
"""

import ctypes
import ctypes.util
import os
import select
import shutil
import subprocess
import tempfile
import time
from collections import Counter

# ---- Checks and waits ------------------------------------------------------------------------------

class Failure(Exception):
    """What the program did wrong (or failed to do in time), as the test reports it."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, timeout, what, interval=0.05):
    """Polls `condition` until it returns a true value or `timeout` seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


# ---- The window's design (client coordinates: the area below the menu bar) ------------------------

CLIENT_WIDTH = 627
CLIENT_HEIGHT = 486

# x, y, width, height of the caption panels, top to bottom.
INPUT_PANELS = {
    "triplo": (58, 65, 236, 88),
    "afp": (58, 153, 236, 88),
    "hcg": (58, 241, 236, 88),
    "e3": (58, 329, 236, 83),
}
RESULT_PANELS = {
    "fauxpo": (306, 65, 267, 88),
    "chromo": (306, 153, 267, 88),
    "malfo": (306, 241, 267, 88),
    "patho": (306, 329, 267, 83),
}
# Lamps: (panel, side) for the input lamps in the strip below the slider; result lamps by panel.
INPUT_LAMPS = {
    "led_triplo": ("triplo", "low"),
    "led_afp1": ("afp", "low"),
    "led_afp": ("afp", "high"),
    "led_hcg1": ("hcg", "low"),
    "led_hcg": ("hcg", "high"),
    "led_e31": ("e3", "low"),
    "led_e3": ("e3", "high"),
}
RESULT_LAMPS = {"led_fauxpo": "fauxpo", "led_chromo": "chromo", "led_malfo": "malfo", "led_patho": "patho"}
ALL_LAMPS = list(INPUT_LAMPS) + list(RESULT_LAMPS)

SLIDER_HEIGHT = 28
LAMP_SIZE = 17

# Colours as RGB.
BLUE = (0x00, 0x00, 0xFF)        # the designed caption colour, clBlue
RED = (0xFF, 0x00, 0x00)         # High
ORANGE = (0xFF, 0x80, 0x00)      # Low (0x0080FF in BGR)
BLACK = (0x00, 0x00, 0x00)       # VeryLow
LIME = (0x00, 0xFF, 0x00)        # a lit lamp
LAMP_OFF = {name: RED for name in ALL_LAMPS}
LAMP_OFF["led_fauxpo"] = (0xFF, 0x80, 0x40)  # 0x4080FF in BGR
LAMP_INTERVAL_S = {name: 0.2 for name in INPUT_LAMPS}
LAMP_INTERVAL_S.update({"led_fauxpo": 1.5, "led_chromo": 0.5, "led_malfo": 0.5, "led_patho": 0.5})


def panel_rect(name):
    return INPUT_PANELS.get(name) or RESULT_PANELS[name]


def caption_bar_rect(panel):
    """The caption bar inside a panel's 3-pixel frame: 19 rows from the frame's inner edge."""
    x, y, w, _ = panel_rect(panel)
    return (x + 3, y + 3, w - 6, 19)


def caption_button_centre(panel, button):
    """Centre of an input panel's caption button: the close button at the bar's right end, the
    help button to its left."""
    x, y, w, _ = INPUT_PANELS[panel]
    return (x + w - 15 if button == "close" else x + w - 35, y + 12)


def strip_rect(panel):
    """The strip below the slider: LEDs and the edit (1-pixel bevel, 3-pixel frame around it)."""
    x, y, w, h = INPUT_PANELS[panel]
    top = y + 27 + SLIDER_HEIGHT
    return (x + 4, top, w - 8, y + h - 4 - top)


def lamp_rect(name):
    if name in RESULT_LAMPS:
        x, y, _, _ = RESULT_PANELS[RESULT_LAMPS[name]]
        return (x + 4 + 259 - LAMP_SIZE, y + 4, LAMP_SIZE, LAMP_SIZE)
    panel, side = INPUT_LAMPS[name]
    sx, sy, sw, sh = strip_rect(panel)
    left = sx + 3 if side == "low" else sx + sw - 3 - LAMP_SIZE
    return (left, sy + 3, LAMP_SIZE, sh - 6)


def edit_point(panel):
    """A point in the left part of a panel's edit, away from its drop-down button."""
    sx, sy, _, sh = strip_rect(panel)
    return (sx + 22 + 40, sy + sh // 2)


# ---- What the program holds, from the probe --------------------------------------------------------

class Probe:
    """Reads the probe's records: addresses, document entries, menus and the highlight colour."""

    def __init__(self, probe, env):
        run = subprocess.run([probe], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        if run.returncode != 0:
            raise Failure(f"the probe ended with status {run.returncode}:\n" + run.stderr.decode(errors="replace"))
        out = run.stdout
        self.addresses = []        # bytes, in the program's order
        self.documents = {}        # entry -> address (bytes)
        self.menus = {}            # entry -> (parent entry or None, text)
        self.highlight = None
        for line in out.split(b"\n"):
            if not line:
                continue
            fields = line.split(b"\t")
            kind = fields[0]
            if kind == b"address":
                self.addresses.append(fields[1])
            elif kind == b"document":
                self.documents[fields[1].decode()] = fields[2]
            elif kind == b"menu":
                parent = fields[2].decode()
                self.menus[fields[1].decode()] = (None if parent == "-" else parent, fields[3].decode())
            elif kind == b"highlight":
                h = fields[1].decode().lstrip("#")
                self.highlight = tuple(int(h[i:i + 2], 16) for i in (0, 2, 4))
        if not self.addresses or not self.menus or self.highlight is None:
            raise RuntimeError("the probe printed an incomplete description:\n" + out.decode(errors="replace"))

    @staticmethod
    def accelerator(text):
        """The character after the caption's single "&", or None."""
        i = 0
        while i < len(text) - 1:
            if text[i] == "&":
                if text[i + 1] != "&":
                    return text[i + 1]
                i += 1
            i += 1
        return None

    def path(self, entry):
        """The entries from the menu bar down to `entry`."""
        chain = []
        while entry is not None:
            chain.append(entry)
            entry = self.menus[entry][0]
        return list(reversed(chain))

    def caption(self, entry):
        return self.menus[entry][1].replace("&", "")


# xdotool key names of the accelerator characters that are not plain letters or digits.
KEY_NAMES = {"?": "question", "&": "ampersand", "-": "minus", ",": "comma", ".": "period", " ": "space"}


def key_name(char):
    return KEY_NAMES.get(char, char.lower())


# ---- Xlib, through ctypes ---------------------------------------------------------------------------

class _XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
_CLIENT_MESSAGE = 33
_IS_VIEWABLE = 2
_STRUCTURE_NOTIFY_MASK = 1 << 17
_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
_REVERT_TO_PARENT = 2


class Window:
    def __init__(self, wid, x, y, width, height, popup):
        self.id, self.x, self.y, self.width, self.height, self.popup = wid, x, y, width, height, popup

    @property
    def rect(self):
        return (self.x, self.y, self.width, self.height)

    def __repr__(self):
        kind = "popup" if self.popup else "window"
        return f"{kind} 0x{self.id:x} {self.width}x{self.height}+{self.x}+{self.y}"


class XDisplay:
    """A connection of our own to the test's X server."""

    def __init__(self):
        x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self._x = x
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(_XWindowAttributes)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                 ctypes.POINTER(_XEvent)]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_XEvent)]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
        x.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long,
                                         ctypes.c_long, ctypes.c_int, ctypes.c_ulong,
                                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
                                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.POINTER(ctypes.c_void_p)]
        x.XSetErrorHandler.argtypes = [_ERROR_HANDLER]
        # A window may vanish between listing it and asking about it: ignore such errors instead of
        # letting Xlib end the process.
        self._on_error = _ERROR_HANDLER(lambda display, event: 0)
        x.XSetErrorHandler(self._on_error)
        self.dpy = x.XOpenDisplay(None)
        if not self.dpy:
            raise RuntimeError("cannot open the display " + os.environ.get("DISPLAY", "(DISPLAY unset)"))
        self.root = x.XDefaultRootWindow(self.dpy)
        # The program answers a ping by sending it to the root window, where we listen.
        x.XSelectInput(self.dpy, self.root, _STRUCTURE_NOTIFY_MASK | _SUBSTRUCTURE_NOTIFY_MASK)
        self._protocols = x.XInternAtom(self.dpy, b"WM_PROTOCOLS", 0)
        self._ping = x.XInternAtom(self.dpy, b"_NET_WM_PING", 0)
        self._net_wm_name = x.XInternAtom(self.dpy, b"_NET_WM_NAME", 0)
        self._token = 0
        x.XSync(self.dpy, 0)

    def windows(self):
        """The viewable top-level windows, bottom to top."""
        x = self._x
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint()
        if not x.XQueryTree(self.dpy, self.root, ctypes.byref(root), ctypes.byref(parent),
                            ctypes.byref(children), ctypes.byref(count)):
            return []
        ids = [children[i] for i in range(count.value)]
        if children:
            x.XFree(children)
        found = []
        for wid in ids:
            a = _XWindowAttributes()
            if x.XGetWindowAttributes(self.dpy, wid, ctypes.byref(a)) and a.map_state == _IS_VIEWABLE:
                found.append(Window(wid, a.x, a.y, a.width, a.height, bool(a.override_redirect)))
        return found

    def name(self, wid):
        """The window's _NET_WM_NAME (UTF-8), or None."""
        x = self._x
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        if x.XGetWindowProperty(self.dpy, wid, self._net_wm_name, 0, 4096, 0, 0, ctypes.byref(kind),
                                ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after),
                                ctypes.byref(data)) != 0 or not data.value:
            return None
        try:
            return ctypes.string_at(data.value, count.value).decode("utf-8", errors="replace")
        finally:
            x.XFree(data)

    def focus(self, wid):
        self._x.XSetInputFocus(self.dpy, wid, _REVERT_TO_PARENT, 0)
        self._x.XSync(self.dpy, 0)

    def _ping_once(self, wid, deadline):
        x = self._x
        self._token += 1
        event = _XEvent()
        event.xclient.type = _CLIENT_MESSAGE
        event.xclient.window = wid
        event.xclient.message_type = self._protocols
        event.xclient.format = 32
        event.xclient.l[0] = self._ping
        event.xclient.l[1] = self._token
        event.xclient.l[2] = wid
        x.XSendEvent(self.dpy, wid, 0, 0, ctypes.byref(event))
        x.XFlush(self.dpy)
        fd = x.XConnectionNumber(self.dpy)
        reply = _XEvent()
        while True:
            while x.XPending(self.dpy):
                x.XNextEvent(self.dpy, ctypes.byref(reply))
                c = reply.xclient
                if (reply.type == _CLIENT_MESSAGE and c.message_type == self._protocols
                        and c.l[0] == self._ping and c.l[1] == self._token):
                    return True
            left = deadline - time.monotonic()
            if left <= 0:
                return False
            select.select([fd], [], [], min(left, 0.05))

    def settle(self, wid, timeout):
        """Waits until the program has handled every event sent so far. It answers a ping while it
        reads its X events, before the input events among them reach the widgets; a second ping
        answered afterwards means those widgets have had them (and a box or menu they opened is
        shown). False when the program does not answer in time."""
        deadline = time.monotonic() + timeout
        return self._ping_once(wid, deadline) and self._ping_once(wid, deadline)


# ---- Screenshots ------------------------------------------------------------------------------------

class Shot:
    """The whole screen as `import -window root` takes it."""

    def __init__(self):
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, check=True, timeout=30).stdout
        fields = []
        pos = 0
        while len(fields) < 4:  # magic, width, height, maximum, with comments allowed between
            while ppm[pos:pos + 1].isspace():
                pos += 1
            if ppm[pos:pos + 1] == b"#":
                pos = ppm.index(b"\n", pos) + 1
                continue
            end = pos
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise RuntimeError("unexpected screenshot format")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1:]
        self.ppm = ppm

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def colours(self, rect):
        x0, y0, w, h = rect
        return Counter(self.pixel(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w))

    def save(self, path, crop=None):
        args = ["convert", "ppm:-"]
        if crop:
            args += ["-crop", "%dx%d+%d+%d" % (crop[2], crop[3], crop[0], crop[1]), "+repage"]
        subprocess.run(args + [path], input=self.ppm, check=True, timeout=30)


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


# ---- The program ------------------------------------------------------------------------------------

STAND_IN_XDG_OPEN = """#!/bin/sh
# Stands in for the desktop's opener: records the argument count and each argument, NUL-terminated.
printf '%s\\0' "$#" "$@" >> '{log}'
"""


class Program:
    """One run of the real program, in a temporary directory that holds its working directory, the
    stand-in opener and the opener's record."""

    # Generous limits for a loaded machine and for the sanitizer build; every wait polls.
    START_TIMEOUT = 30.0
    EXIT_TIMEOUT = 20.0

    def __init__(self, binary):
        self.binary = os.path.abspath(binary)
        self.dir = tempfile.mkdtemp(prefix="serolis-e2e-")
        self.workdir = os.path.join(self.dir, "work")
        self.bindir = os.path.join(self.dir, "bin")
        self.runtime = os.path.join(self.dir, "runtime")
        self.log = os.path.join(self.dir, "opened")
        self.stderr_path = os.path.join(self.dir, "stderr")
        for d in (self.workdir, self.bindir, self.runtime):
            os.mkdir(d)
        os.chmod(self.runtime, 0o700)
        opener = os.path.join(self.bindir, "xdg-open")
        with open(opener, "w") as f:
            f.write(STAND_IN_XDG_OPEN.format(log=self.log))
        os.chmod(opener, 0o755)
        open(self.log, "wb").close()
        self.env = self.environment()
        self.process = None
        self.x = XDisplay()
        self.window = None
        self.menubar_height = None

    def environment(self):
        env = {k: v for k, v in os.environ.items() if not k.startswith("LC_")}
        env.update(PATH=self.bindir + os.pathsep + env.get("PATH", "/usr/bin:/bin"),
                   QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=self.runtime, LANG="fr_FR.UTF-8",
                   HOME=self.dir)
        # Under AddressSanitizer: strict_string_checks makes strndup's interceptor read up to the
        # terminating NUL whatever the length given, and libxkbcommon-x11 passes atom names that have
        # none while Qt's xcb platform starts. Everything else stays as the caller asked.
        if "ASAN_OPTIONS" in env:
            env["ASAN_OPTIONS"] += ":strict_string_checks=0"
        # Nothing of a desktop session outside the private server.
        for k in ("DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                  "GNOME_DESKTOP_SESSION_ID", "BROWSER", "DEFAULT_BROWSER", "WAYLAND_DISPLAY"):
            env.pop(k, None)
        return env

    # -- life cycle --

    def start(self):
        self._stderr = open(self.stderr_path, "wb")
        self.process = subprocess.Popen([self.binary], cwd=self.workdir, env=self.env, stdin=subprocess.DEVNULL,
                                        stdout=self._stderr, stderr=self._stderr)

        def main_window():
            self.check_running()
            for w in self.x.windows():
                if not w.popup and w.width == CLIENT_WIDTH and w.height > CLIENT_HEIGHT:
                    return w
            return None

        self.window = wait_for(main_window, self.START_TIMEOUT, "the main window to appear")
        self.menubar_height = self.window.height - CLIENT_HEIGHT
        check(self.x.settle(self.window.id, self.START_TIMEOUT), "the program does not answer")
        self.x.focus(self.window.id)
        return self.window

    def check_running(self):
        if self.process.poll() is not None:
            raise Failure(f"the program ended unexpectedly with status {self.process.returncode}\n" + self.stderr())

    def wait_exit(self, timeout=None):
        try:
            return self.process.wait(timeout or self.EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout or self.EXIT_TIMEOUT:g} s") from None

    def stderr(self):
        self._stderr.flush()
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace")

    def close(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.process:
            self._stderr.close()
        shutil.rmtree(self.dir, ignore_errors=True)

    # -- geometry --

    def at(self, x, y):
        """Screen position of a point given in client coordinates."""
        return (self.window.x + x, self.window.y + self.menubar_height + y)

    def screen_rect(self, rect):
        x, y = self.at(rect[0], rect[1])
        return (x, y, rect[2], rect[3])

    # -- input --

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], check=True, timeout=60, stdout=subprocess.DEVNULL)

    def keys(self, *keys, delay=40):
        self.xdotool("key", "--clearmodifiers", "--delay", str(delay), *keys)

    def type(self, text, delay=40):
        self.xdotool("type", "--delay", str(delay), text)

    def click(self, client_x, client_y, button=1):
        x, y = self.at(client_x, client_y)
        self.xdotool("mousemove", "--sync", str(x), str(y), "click", str(button))

    def settle(self, timeout=10.0):
        self.check_running()
        check(self.x.settle(self.window.id, timeout), f"the program did not answer within {timeout:g} s")

    def others(self):
        """Viewable top-level windows other than the main window: menus, drop-downs, boxes."""
        return [w for w in self.x.windows() if w.id != self.window.id and w.width > 3 and w.height > 3]

    def title(self, wid=None):
        return self.x.name(wid or self.window.id)

    # -- the stand-in opener's record --

    def opened(self):
        """Every call of the opener so far, each the list of its arguments (bytes). A call whose
        record is still being written is left out."""
        with open(self.log, "rb") as f:
            fields = f.read().split(b"\0")[:-1]
        calls = []
        i = 0
        while i < len(fields) and i + 1 + int(fields[i]) <= len(fields):
            n = int(fields[i])
            calls.append(fields[i + 1:i + 1 + n])
            i += 1 + n
        return calls
