#!/usr/bin/env python3
"""Seeded random run of the real serolis binary under Xvfb: thousands of xdotool actions on the
window (keys, menus by Alt+letter, clicks, drags, wheel turns, caption buttons), every box that
opens answered by Escape, then Ctrl+Q. Passes when the program ends with status 0, prints no
sanitizer report, hands the desktop nothing but its own addresses and writes no file.

Run under script/xvfb-exec (ctest does):
  tst_e2e_monkey.py --program <serolis> --probe <e2e_probe> [--seed N] [--actions N] [--shots DIR]
The seed is also read from SEROLIS_MONKEY_SEED ("random" draws a new one); without one the run uses
the fixed seed 20261210, so that every run of the suite repeats the same actions.
"""

import argparse
import collections
import os
import pathlib
import random
import re
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serolis_e2e import (  # noqa: E402
    INPUT_PANELS, Failure, Probe, Program, Shot, caption_button_centre, check, strip_rect)

ACTIONS = 2000
BATCH = 25                 # keys sent by one xdotool call at most
KEY_DELAY_MS = 12
SETTLE_TIMEOUT = 30.0      # the program must have handled what it was sent within this
MAX_TIDY_STEPS = 12        # Escapes to close what is open before we call it stuck
POPUP_PATIENCE = 4         # checks a menu may stay open before the run closes it

# Reports of the sanitizers, and of an exception that ended the program, on its error output.
SANITIZER_REPORT = re.compile(r"AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|runtime error:|"
                              r"terminate called")

LETTERS = "abcdefghijklmnopqrstuvwxyz"
# Keys that may activate a menu entry or a button: Return and space choose the highlighted entry or
# the default button, q and i are the accelerators of "Quitter" and "Boîte à Idées". Each one runs
# alone, with the window tidied before and after it, so that no random key answers the ideas file's
# question and "Quitter" is never chosen.
ACTIVATING_KEYS = {"Return", "KP_Enter", "space"}
ACTIVATING_LETTERS = {"q", "i"}


class Action:
    def __init__(self, text, args, activating):
        self.text, self.args, self.activating = text, args, activating

    def __str__(self):
        return self.text


def key_action(key):
    base = key.rsplit("+", 1)[-1]
    activating = base in ACTIVATING_KEYS or base.lower() in ACTIVATING_LETTERS
    return Action("key " + key, ["key", "--delay", str(KEY_DELAY_MS), key], activating)


class Monkey:
    def __init__(self, program, probe, seed, count, shots=None):
        self.p = program
        self.shots = shots
        self.probe = probe
        self.seed = seed
        self.rng = random.Random(seed)
        self.count = count
        self.done = collections.deque(maxlen=40)
        self.boxes = collections.Counter()
        self.seen_boxes = set()
        self.popup_checks = 0
        self.fichiers = None
        self.mouse_actions = 0
        self.key_actions = 0
        self.tidies = 0
        self.title = None
        self.captions = collections.Counter()  # window captions shown, with how often each came
        self.menus_closed = collections.Counter()

    # -- random actions, in window coordinates --

    def window_point(self, client_only=False):
        w = self.p.window
        top = self.p.menubar_height if client_only else 0
        return (w.x + self.rng.randrange(w.width), w.y + top + self.rng.randrange(w.height - top))

    def random_key(self):
        r = self.rng.random()
        if r < 0.22:
            return str(self.rng.randrange(10))
        if r < 0.32:
            return self.rng.choice(["comma", "period", "comma", "period", "nobreakspace", "minus", "plus"])
        if r < 0.45:
            letter = self.rng.choice(LETTERS)
            return letter.upper() if self.rng.random() < 0.1 else letter
        if r < 0.53:
            return self.rng.choice(["Tab", "Tab", "Tab", "shift+Tab"])
        if r < 0.63:
            return self.rng.choice(["Up", "Down", "Left", "Right"])
        if r < 0.67:
            return "Escape"
        if r < 0.71:
            return self.rng.choice(["Return", "Return", "KP_Enter", "space"])
        if r < 0.77:
            return self.rng.choice(["BackSpace", "Delete", "Home", "End", "Prior", "Next", "shift+End", "shift+Home"])
        if r < 0.88:
            # The menus' own letters most of the time, any letter else.
            return "alt+" + self.rng.choice(["p", "p", "b", "b", "question", "question", "f", self.rng.choice(LETTERS)])
        if r < 0.92:
            return self.rng.choice(["alt+Down", "F4"])  # the edit's drop-down calculator
        if r < 0.97:
            return "ctrl+" + self.rng.choice(["a", "c", "v", "x", "z"])
        return "ctrl+i"

    def random_action(self):
        r = self.rng.random()
        if r < 0.62:
            return key_action(self.random_key())
        if r < 0.76:
            x, y = self.window_point()
            return Action(f"click {x},{y}", ["mousemove", str(x), str(y), "mousedown", "1", "mouseup", "1"],
                          True)
        if r < 0.78:
            x, y = self.window_point()
            return Action(f"right click {x},{y}",
                          ["mousemove", str(x), str(y), "mousedown", "3", "mouseup", "3"], True)
        if r < 0.80:
            x, y = self.window_point(client_only=True)
            button = self.rng.choice(["4", "5"])
            return Action(f"wheel {button} at {x},{y}",
                          ["mousemove", str(x), str(y), "mousedown", button, "mouseup", button], True)
        if r < 0.86:
            # A drag, most often along a slider. It starts below the menu bar: a press on the bar
            # opens a menu, and a release in it chooses an entry.
            if self.rng.random() < 0.6:
                panel = self.rng.choice(list(INPUT_PANELS))
                px, py, pw, _ = INPUT_PANELS[panel]
                sy = py + 27 + 10
                x1, y1 = self.p.at(px + 4 + self.rng.randrange(pw - 8), sy)
                x2, y2 = self.p.at(px - 20 + self.rng.randrange(pw + 40), sy + self.rng.randrange(-6, 7))
            else:
                x1, y1 = self.window_point(client_only=True)
                x2, y2 = self.window_point(client_only=True)
            return Action(f"drag {x1},{y1} to {x2},{y2}",
                          ["mousemove", str(x1), str(y1), "mousedown", "1", "mousemove", str((x1 + x2) // 2),
                           str((y1 + y2) // 2), "mousemove", str(x2), str(y2), "mouseup", "1"], True)
        if r < 0.95:
            panel = self.rng.choice(list(INPUT_PANELS))
            button = self.rng.choice(["close", "close", "help"])
            x, y = self.p.at(*caption_button_centre(panel, button))
            return Action(f"{button} button of {panel}",
                          ["mousemove", str(x), str(y), "mousedown", "1", "mouseup", "1"], True)
        # The edit's drop-down button, at the right end of the edit.
        panel = self.rng.choice(list(INPUT_PANELS))
        sx, sy, sw, sh = strip_rect(panel)
        right = sx + sw - (1 if panel == "triplo" else 22)
        x, y = self.p.at(right - 12, sy + sh // 2)
        return Action(f"drop-down button of {panel}",
                      ["mousemove", str(x), str(y), "mousedown", "1", "mouseup", "1"], True)

    # -- running them --

    def send(self, actions):
        if not actions:
            return
        args = []
        for a in actions:
            args += a.args
            self.done.append(a)
        self.p.xdotool(*args)

    def settle(self):
        self.p.check_running()
        if not self.p.x.settle(self.p.window.id, SETTLE_TIMEOUT):
            self.p.check_running()
            raise Failure(f"the program did not answer within {SETTLE_TIMEOUT:g} s")

    def tidy(self):
        """Closes every box (Escape: "OK" of a message, "Non" to the ideas file's question) and the
        "Fichiers" menu, and any menu left open for too long; gives the window the focus back."""
        self.tidies += 1
        self.settle()
        closed_box = False
        for _ in range(MAX_TIDY_STEPS):
            others = self.p.others()
            boxes = [w for w in others if not w.popup]
            popups = [w for w in others if w.popup]
            if boxes:
                box = boxes[-1]
                if box.id not in self.seen_boxes:
                    self.seen_boxes.add(box.id)
                    # The ideas file's question and the error report share the application's title.
                    title = f"{self.p.title(box.id) or '(untitled)'} {box.width}x{box.height}"
                    self.boxes[title] += 1
                    if self.shots and self.boxes[title] == 1:
                        os.makedirs(self.shots, exist_ok=True)
                        Shot().save(os.path.join(self.shots, f"monkey-box-{len(self.boxes)}.png"),
                                    crop=(box.x - 40, box.y - 40, box.width + 80, box.height + 80))
                self.p.x.focus(box.id)
                self.send([Action(f"Escape to box {self.p.title(box.id)!r}", ["key", "Escape"], False)])
                self.settle()
                closed_box = True
                continue
            fichiers = any(w.rect == self.fichiers for w in popups)
            if fichiers or (popups and self.popup_checks >= POPUP_PATIENCE):
                self.menus_closed["Fichiers" if fichiers else "other, left open"] += 1
                self.send([Action("Escape to menu", ["key", "Escape"], False)])
                self.settle()
                self.popup_checks = 0
                continue
            self.popup_checks = self.popup_checks + 1 if popups else 0
            title = self.p.title()
            if title != self.title:
                self.title = title
                self.captions[title] += 1
            break
        else:
            raise Failure(f"still open after {MAX_TIDY_STEPS} Escapes: {self.p.others()}")
        if closed_box:
            self.p.x.focus(self.p.window.id)

    def learn_fichiers_menu(self):
        """Where the "Fichiers" menu opens: the run keeps it closed before anything that might
        choose its only entry, "Quitter"."""
        self.p.keys("alt+f")
        self.settle()
        popups = [w for w in self.p.others() if w.popup]
        check(len(popups) == 1, f"Alt+F opened {popups}")
        self.fichiers = popups[0].rect
        self.p.keys("Escape", "Escape")
        self.settle()
        check(not self.p.others(), f"Escape left {self.p.others()} open")

    def run(self):
        self.learn_fichiers_menu()
        batch = []
        for i in range(self.count):
            action = self.random_action()
            if action.args[0] == "key":
                self.key_actions += 1
            else:
                self.mouse_actions += 1
            if action.activating:
                self.send(batch)
                batch = []
                self.tidy()
                self.send([action])
                self.tidy()
            else:
                batch.append(action)
                if len(batch) >= BATCH:
                    self.send(batch)
                    batch = []
                    self.tidy()
        self.send(batch)
        self.tidy()
        for _ in range(MAX_TIDY_STEPS):
            if not self.p.others():
                break
            self.send([Action("Escape before quitting", ["key", "Escape"], False)])
            self.tidy()
        check(not self.p.others(), f"could not close {self.p.others()} before quitting")
        self.p.x.focus(self.p.window.id)
        self.settle()
        self.send([Action("key ctrl+q", ["key", "ctrl+q"], False)])

    def last_actions(self):
        return "\n".join(f"  {a}" for a in self.done)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--seed", default=os.environ.get("SEROLIS_MONKEY_SEED"))
    parser.add_argument("--actions", type=int, default=ACTIONS)
    parser.add_argument("--shots", help="folder for screenshots: the first box of each title, and a failure")
    args = parser.parse_args()
    if args.seed is None:
        seed = 20261210
    elif str(args.seed) == "random":
        seed = random.SystemRandom().randrange(1 << 31)
    else:
        seed = int(args.seed)
    print(f"seed {seed} (SEROLIS_MONKEY_SEED={seed} repeats it), {args.actions} actions", flush=True)

    started = time.monotonic()
    program = Program(args.program)
    monkey = None
    failed = True
    try:
        probe = Probe(args.probe, program.env)
        program.start()
        monkey = Monkey(program, probe, seed, args.actions, args.shots)
        monkey.run()
        status = program.wait_exit()
        err = program.stderr()
        problems = []
        if status != 0:
            problems.append(f"Ctrl+Q ended the program with status {status}")
        if SANITIZER_REPORT.search(err):
            problems.append("the program's error output holds a report")
        ideas = pathlib.Path(os.path.realpath(program.workdir), "serolis.txt")
        allowed = set(probe.addresses) | {ideas.as_uri().encode()}
        calls = program.opened()
        strange = [c for c in calls if len(c) != 1 or c[0] not in allowed]
        if strange:
            problems.append("the desktop opener received what is none of the program's addresses:\n" +
                            "\n".join(f"  {c}" for c in strange))
        written = os.listdir(program.workdir)
        if written:
            problems.append(f"the working directory holds {written}: a question was answered yes or the "
                            "program wrote a file")
        print(f"{monkey.key_actions} key and {monkey.mouse_actions} mouse actions, {monkey.tidies} checks; "
              f"boxes closed by Escape: {dict(monkey.boxes) or 'none'}; opener called {len(calls)} times "
              f"({len(set(c[0] for c in calls if c))} distinct addresses); menus closed by Escape: "
              f"{dict(monkey.menus_closed) or 'none'}; window captions: {dict(monkey.captions)}")
        check(not problems, "\n".join(problems))
        failed = False
    except Failure as failure:
        print(f"FAIL (seed {seed}) {failure}", file=sys.stderr)
        if monkey:
            print(f"last actions, oldest first:\n{monkey.last_actions()}", file=sys.stderr)
            if args.shots and program.process.poll() is None:
                os.makedirs(args.shots, exist_ok=True)
                Shot().save(os.path.join(args.shots, f"monkey-failure-{seed}.png"))
    finally:
        err = program.stderr() if program.process else ""
        program.close()
    if err:
        print("program's output:\n" + err, file=sys.stderr if failed else sys.stdout)
    print(f"{'FAILED' if failed else 'passed'} (seed {seed}) in {time.monotonic() - started:.1f} s")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
