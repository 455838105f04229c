#!/usr/bin/env python3
"""End-to-end test of the real serolis binary under Xvfb: start state, typing, the example profiles
chosen from the menu by keyboard, caption buttons, the documents handed to the desktop, the ideas
file, and Ctrl+Q. Judged by screenshot pixels, the window caption and the stand-in opener's record.

Run under script/xvfb-exec (ctest does): tst_e2e.py --program <serolis> --probe <e2e_probe> [--shots DIR]
"""

import argparse
import os
import pathlib
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serolis_e2e import (  # noqa: E402
    ALL_LAMPS, BLACK, BLUE, INPUT_PANELS, LAMP_INTERVAL_S, LAMP_OFF, LIME, ORANGE, RED, RESULT_PANELS, Failure,
    Probe, Program, Shot, caption_bar_rect, caption_button_centre, check, edit_point, hex_colour, key_name,
    lamp_rect, wait_for)

# Waits for an effect of our own input: bounded, and generous for the sanitizer build.
EFFECT_TIMEOUT = 10.0

NORMAL = "normal"  # the palette's highlight colour, read by the probe

# The example profiles: menu entry, window caption, the input panels' caption colours (triplo, afp,
# hcg, e3) and the lamps that blink afterwards (input panels' alerts, and the result panels that hold
# a finding).
PROFILES = [
    ("Spina1", "DFTN, Rein, Paroi Abdo", (NORMAL, RED, NORMAL, NORMAL),
     {"led_afp", "led_fauxpo", "led_malfo"}),
    ("HTARCIU1", "HTA, TRIPLOIDIE", (NORMAL, NORMAL, RED, NORMAL),
     {"led_hcg", "led_fauxpo", "led_chromo", "led_malfo", "led_patho"}),
    ("MFIURCIUMAPTRIPLOIDIEGG1", "MFIU, RCIU, MAP, TRIPLOIDIE, GG", (NORMAL, RED, RED, NORMAL),
     {"led_afp", "led_hcg", "led_fauxpo", "led_chromo", "led_patho"}),
    ("MFIU1", "MFIU", (NORMAL, RED, ORANGE, NORMAL), {"led_afp", "led_hcg1", "led_patho"}),
    ("RCIUT18T131", "RCIU, T18,T13", (NORMAL, NORMAL, BLACK, NORMAL), {"led_hcg1", "led_chromo", "led_patho"}),
    ("RCIUT18T13TRIPLOIDIE1", "RCIU,T18,T13, TRIPLOIDIE", (NORMAL, ORANGE, ORANGE, NORMAL),
     {"led_afp1", "led_hcg1", "led_chromo", "led_patho"}),
    ("SLO1", "SLO", (NORMAL, NORMAL, NORMAL, ORANGE), {"led_e31", "led_chromo", "led_malfo"}),
    ("T21", "T21", (ORANGE, ORANGE, RED, NORMAL),
     {"led_triplo", "led_afp1", "led_hcg", "led_fauxpo", "led_chromo", "led_malfo"}),
]
# Chosen with the arrow keys and Return instead of its accelerator.
BY_ARROWS = "SLO1"


class Session:
    def __init__(self, program, probe, shots):
        self.p = program
        self.probe = probe
        self.shots = shots
        self.normal = probe.highlight

    def colour(self, c):
        return self.normal if c == NORMAL else c

    def shot(self, name=None):
        shot = Shot()
        if name and self.shots:
            os.makedirs(self.shots, exist_ok=True)
            w = self.p.window
            shot.save(os.path.join(self.shots, name + ".png"), crop=(w.x, w.y, w.width, w.height))
        return shot

    # -- what the window shows --

    def bar_colour(self, shot, panel):
        counts = shot.colours(self.p.screen_rect(caption_bar_rect(panel)))
        colour, n = counts.most_common(1)[0]
        # The bar's own colour fills most of it; the icon, caption text and buttons the rest.
        return colour if n * 2 > sum(counts.values()) else None

    def bars(self, shot):
        return {panel: self.bar_colour(shot, panel) for panel in list(INPUT_PANELS) + list(RESULT_PANELS)}

    def expect_bars(self, inputs, what, timeout=EFFECT_TIMEOUT):
        """Waits until the input panels' bars show `inputs` (triplo, afp, hcg, e3) and the result
        panels' bars their designed blue, which nothing changes."""
        expected = dict(zip(INPUT_PANELS, (self.colour(c) for c in inputs)))
        expected.update({panel: BLUE for panel in RESULT_PANELS})
        last = {}

        def shown():
            last.update(self.bars(self.shot()))
            return last == expected

        try:
            wait_for(shown, timeout, what)
        except Failure:
            raise Failure(f"{what}: caption bars differ\n" + "\n".join(
                f"  {panel:7} shows {hex_colour(last[panel]) if last[panel] else 'no dominant colour'}, "
                f"expected {hex_colour(expected[panel])}" for panel in expected)) from None

    def lamp_state(self, shot, name):
        counts = shot.colours(self.p.screen_rect(lamp_rect(name)))
        lit, off = counts[LIME], counts[LAMP_OFF[name]]
        if lit >= 60 and off == 0:
            return "lit"
        if off >= 60 and lit == 0:
            return "unlit"
        return f"neither (lit {lit} px, unlit {off} px)"

    def expect_lamps(self, blinking, what):
        """Screenshots in a row until every lamp of `blinking` has been seen both lit and unlit, and
        for longer than the blink interval of every other lamp, which must stay lit all along."""
        blinking = set(blinking)
        steady = set(ALL_LAMPS) - blinking
        # A lamp that blinks changes within one interval of its own.
        watch = max(LAMP_INTERVAL_S[n] for n in steady) * 1.3 if steady else 0.0
        limit = max([watch] + [3 * LAMP_INTERVAL_S[n] for n in blinking]) + EFFECT_TIMEOUT
        seen = {n: set() for n in ALL_LAMPS}
        start = time.monotonic()
        shots = 0
        while True:
            shot = self.shot()
            elapsed = time.monotonic() - start
            shots += 1
            for n in ALL_LAMPS:
                seen[n].add(self.lamp_state(shot, n))
            wrong = [n for n in steady if seen[n] != {"lit"}] + \
                    [n for n in blinking if not seen[n] <= {"lit", "unlit"}]
            missing = [n for n in blinking if seen[n] != {"lit", "unlit"}]
            if wrong or (missing and elapsed > limit):
                raise Failure(f"{what}: lamps after {elapsed:.1f} s and {shots} screenshots\n" + "\n".join(
                    f"  {n:11} {'blinks' if n in blinking else 'steady'} expected, seen {sorted(seen[n])}"
                    for n in ALL_LAMPS))
            if not missing and elapsed >= watch:
                return
            time.sleep(0.02)

    def expect_title(self, title, what):
        try:
            wait_for(lambda: self.p.title() == title, EFFECT_TIMEOUT, f"{what}: window caption {title!r}")
        except Failure as failure:
            raise Failure(f"{failure}; it reads {self.p.title()!r}") from None

    def expect_no_popup(self, what):
        wait_for(lambda: not self.p.others(), EFFECT_TIMEOUT, f"{what}: every menu and box to close")

    # -- menus by keyboard --

    def menu_keys(self, entry):
        """Alt and the bar entry's accelerator, then each level's accelerator down to the entry."""
        path = self.probe.path(entry)
        accelerators = [Probe.accelerator(self.probe.menus[e][1]) for e in path]
        check(all(accelerators), f"the menu path {path} has an entry without accelerator")
        return ["alt+" + key_name(accelerators[0])] + [key_name(a) for a in accelerators[1:]]

    def arrow_keys(self, entry):
        """Alt and the bar entry's accelerator, then Down to the entry (the menu opens with its first
        entry selected) and Return."""
        path = self.probe.path(entry)
        check(len(path) == 2, f"{entry} is not an entry of a bar menu")
        siblings = [e for e, (parent, _) in self.probe.menus.items() if parent == path[0]]
        return (["alt+" + key_name(Probe.accelerator(self.probe.menus[path[0]][1]))]
                + ["Down"] * siblings.index(entry) + ["Return"])

    def opened_after(self, count, what):
        calls = wait_for(lambda: len(self.p.opened()) > count and self.p.opened(), EFFECT_TIMEOUT,
                         f"{what}: the desktop opener to be called")
        check(len(calls) == count + 1, f"{what}: the opener was called {len(calls) - count} times:\n{calls[count:]}")
        return calls[-1]

    # -- the test --

    def start_state(self):
        p = self.p
        shot = self.shot("start")
        check(p.title() == "Serolis", f"start: window caption {p.title()!r}")
        w = p.window
        check((w.x, w.y) == ((shot.width - w.width) // 2, (shot.height - w.height) // 2),
              f"start: window at {w.x},{w.y}, not centred on the {shot.width}x{shot.height} screen")
        self.expect_bars((BLUE, BLUE, BLUE, BLUE), "start")
        self.expect_lamps(set(), "start")

    def typing(self):
        p = self.p
        # The first change: the other inputs still hold 0, so AFP and hCG read as both collapsed.
        p.click(*edit_point("triplo"))
        p.type("100")
        self.expect_bars((ORANGE, BLUE, BLUE, BLUE), "denominator typed as 100")
        self.expect_lamps({"led_triplo", "led_chromo", "led_patho"}, "denominator typed as 100")
        self.shot("typed-100")
        # Tab wraps from the denominator's edit to panel_hcg, its slider, then its edit.
        p.keys("Tab", "Tab", "Tab")
        p.type("2")
        self.expect_bars((ORANGE, BLUE, RED, BLUE), "beta-hCG typed as 2 after three tabs")
        self.expect_lamps({"led_triplo", "led_hcg", "led_fauxpo", "led_chromo", "led_malfo"},
                          "beta-hCG typed as 2 after three tabs")

    def profiles(self):
        p = self.p
        for entry, caption, inputs, blinking in PROFILES:
            what = f"profile {caption!r}"
            before = len(p.opened())
            p.keys(*(self.arrow_keys(entry) if entry == BY_ARROWS else self.menu_keys(entry)))
            self.expect_title(caption, what)
            self.expect_no_popup(what)
            self.expect_bars(inputs, what)
            self.expect_lamps(blinking, what)
            self.shot("profile-" + entry)
            if entry == "SLO1":
                call = self.opened_after(before, what)
                check(call == [self.probe.documents["mnu_SLO"]], f"{what} opened {call}")
            else:
                p.settle()
                check(len(p.opened()) == before, f"{what} handed something to the desktop: {p.opened()[before:]}")

    def caption_buttons(self):
        p = self.p
        # After "T21": the close button puts the denominator back to 700, a normal value.
        p.click(*caption_button_centre("triplo", "close"))
        self.expect_bars((NORMAL, ORANGE, RED, NORMAL), "close button of TRIPLO-TEST")
        self.expect_lamps({"led_afp1", "led_hcg", "led_fauxpo", "led_chromo", "led_malfo"},
                          "close button of TRIPLO-TEST")
        # The help button shows the marker's information in a box of its own, closed by Escape.
        p.click(*caption_button_centre("hcg", "help"))
        boxes = wait_for(p.others, EFFECT_TIMEOUT, "the help box of B-HCG")
        self.shot("help-box")
        check(len(boxes) == 1 and not boxes[0].popup, f"help button of B-HCG opened {boxes}")
        check(p.title(boxes[0].id) == "Bêta-HCG", f"help box titled {p.title(boxes[0].id)!r}")
        p.x.focus(boxes[0].id)
        p.keys("Escape")
        self.expect_no_popup("help box closed by Escape")
        p.x.focus(p.window.id)
        check(p.title() == "T21", f"the help box changed the window caption to {p.title()!r}")

    def documents(self):
        p = self.p
        title = p.title()
        bars = self.bars(self.shot())
        for entry, address in self.probe.documents.items():
            what = f"menu entry {entry}"
            before = len(p.opened())
            p.keys(*self.menu_keys(entry))
            call = self.opened_after(before, what)
            check(call == [address], f"{what} opened {call}, expected [{address!r}]")
            self.expect_no_popup(what)
        check(p.title() == title, f"the documents changed the window caption to {p.title()!r}")
        check(self.bars(self.shot()) == bars, "the documents changed a caption bar")

    def ideas_file(self):
        p = self.p
        ideas = pathlib.Path(os.path.realpath(p.workdir), "serolis.txt")
        ideas.touch()
        # From an edit, without opening the "?Aide" menu: the file of the working directory.
        p.click(*edit_point("afp"))
        before = len(p.opened())
        p.keys("ctrl+i")
        call = self.opened_after(before, "Ctrl+I")
        check(call == [ideas.as_uri().encode()], f"Ctrl+I opened {call}, expected [{ideas.as_uri()!r}]")
        check(not p.others(), f"Ctrl+I left {p.others()} open")

        # Without the file the program asks first; Escape answers no and nothing is written.
        ideas.unlink()
        p.keys("ctrl+i")
        boxes = wait_for(p.others, EFFECT_TIMEOUT, "the question about the missing ideas file")
        check(len(boxes) == 1 and not boxes[0].popup, f"Ctrl+I without the file opened {boxes}")
        p.x.focus(boxes[0].id)
        p.keys("Escape")
        self.expect_no_popup("question answered by Escape")
        p.x.focus(p.window.id)
        p.settle()
        check(not ideas.exists(), "answering the question by Escape created the ideas file")
        check(len(p.opened()) == before + 1, f"answering no opened {p.opened()[before + 1:]}")
        check(os.listdir(p.workdir) == [], f"the program wrote {os.listdir(p.workdir)} in its working directory")

    def quit(self):
        p = self.p
        p.click(*edit_point("hcg"))
        p.settle()
        p.keys("ctrl+q")
        status = p.wait_exit()
        check(status == 0, f"Ctrl+Q from an edit ended the program with status {status}")

    def run(self):
        steps = [self.start_state, self.typing, self.profiles, self.caption_buttons, self.documents,
                 self.ideas_file, self.quit]
        for step in steps:
            started = time.monotonic()
            step()
            print(f"PASS {step.__name__} ({time.monotonic() - started:.1f} s)", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--shots", help="folder for the screenshots")
    args = parser.parse_args()

    started = time.monotonic()
    program = Program(args.program)
    session = None
    failed = True
    try:
        probe = Probe(args.probe, program.env)
        print(f"palette highlight (normal caption): {hex_colour(probe.highlight)}")
        program.start()
        session = Session(program, probe, args.shots)
        session.run()
        failed = False
    except Failure as failure:
        print(f"FAIL {failure}", file=sys.stderr)
        if session and program.process.poll() is None:
            session.shot("failure")
    finally:
        err = program.stderr() if program.process else ""
        program.close()
    if err:
        print("program's output:\n" + err, file=sys.stderr if failed else sys.stdout)
    print(f"{'FAILED' if failed else 'passed'} in {time.monotonic() - started:.1f} s")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
