#!/usr/bin/env python3
"""Writes fresh_install.script, play-through 1 of the whole-game replay check.

Usage: make_fresh_install.py <autoplay program> <game dir> <play start update> [--out FILE]

The checked-in script: make_fresh_install.py build/test/tools/autoplay/autoplay build/test/run 8214

Input at "at T" reaches the game after its update T/10 - 1 (the fixed step is 10 ms);
"# checkpoint <name>" keeps the frame drawn after update T/10 of the "at" before it, and
"# command <state> <command>" after an input says the flow log must show that command in the
update the input arrives. The level-1 moves come from the autoplay on the same (normal) level
file, choosing them as the level driver's reference policy does (any legal move loses level 1
on normal), pausing before each turn longer than the game's random waits can differ from its own;
<play start update> is the update of the flow line "change LoadLevelState
PlayLevelState" (it moves when the screens before the level change: rerun with the new one).
"""
import argparse
import os
import re
import subprocess
import tempfile

LEVEL1 = dict(seed=2, think=3000, policy="2")
STEP = 10
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..")


def group1_node():
    """Group 1's node on the map: the middle of its rectangle in data/art/textures/map/mapcoords.txt."""
    with open(os.path.join(SOURCE, "data/art/textures/map/mapcoords.txt")) as f:
        for line in f:
            words = line.split()
            if words and words[0] == "group1":
                x, y, w, h = map(int, words[1:5])
                return (x + w // 2, y + h // 2)
    raise SystemExit("group1 is not in mapcoords.txt")


def tutorial_close_button():
    """The close button of level 1's first tutorial panel (data/tutorial.cfg; 40 x 40 at +341, +20)."""
    with open(os.path.join(SOURCE, "data/tutorial.cfg")) as f:
        for line in f:
            words = line.split()
            if words[:2] == ["STEP", "1"]:
                return (int(words[6]) + 341 + 20, int(words[7]) + 20 + 20)
    raise SystemExit("level 1 has no tutorial step in tutorial.cfg")


# Group 1's node and the cells its fan opens for levels 1 (up-left) and 2 (up).
GROUP1 = group1_node()
GROUP1_LEVEL1 = (GROUP1[0] - 53, GROUP1[1] - 48)
GROUP1_LEVEL2 = (GROUP1[0], GROUP1[1] - 70)
# Points on the way from the node to those cells: the pointer stays inside the open fan.
GROUP1_TO_LEVEL1 = (GROUP1[0] - 25, GROUP1[1] - 30)
GROUP1_TO_LEVEL2 = (GROUP1[0] - 5, GROUP1[1] - 50)
TUTORIAL_CLOSE = tutorial_close_button()


class Script:
    def __init__(self):
        self.t = 0
        self.lines = []

    def at(self, t=None):
        if t is not None:
            self.t = t
        self.lines.append("at %d" % self.t)

    def comment(self, text):
        self.lines.append("# " + text)

    def checkpoint(self, name, gap=300):
        self.at()
        self.lines.append("# checkpoint " + name)
        self.t += gap

    def click(self, x, y, gap=500, command=None):
        self.at()
        self.lines += ["mouse move %d %d" % (x, y), "mouse down left %d %d" % (x, y), "mouse up left %d %d" % (x, y)]
        if command:
            self.lines.append("# command " + command)
        self.t += gap

    def move(self, x, y, gap=500):
        self.at()
        self.lines.append("mouse move %d %d" % (x, y))
        self.t += gap

    def key(self, name, gap=500, command=None):
        self.at()
        self.lines.append("key " + name)
        if command:
            self.lines.append("# command " + command)
        self.t += gap

    def text(self, value, gap=500):
        self.at()
        self.lines.append("text " + value)
        self.t += gap

    def wait(self, ms):
        self.t += ms

    def include(self, text):
        """Lines of another script (the autoplay's); the time goes on after its last step."""
        for line in text.splitlines():
            if line.startswith("at "):
                self.t = int(line.split()[1])
            if line and not line.startswith("# autoplay"):
                self.lines.append(line)
        self.t += 1000


def autoplay_clicks(program, game_dir, level, start_ms, seed, think, policy):
    """The autoplay's clicks as script lines, and the script time at which its level ended."""
    with tempfile.TemporaryDirectory() as home:
        out = os.path.join(home, "clicks.script")
        run = subprocess.run([program, "--game-dir", game_dir, "--level", str(level), "--normal", "--policy", policy,
                              "--seed", str(seed), "--think", str(think), "--home", home, "--script", out,
                              "--script-at", str(start_ms)],
                             check=True, stdout=subprocess.PIPE, text=True)
        updates = int(re.search(r"^finished after (\d+) updates$", run.stdout, re.M).group(1))
        with open(out) as f:
            return f.read(), start_ms + (updates + 1) * STEP


def play_level1(s, program, game_dir, start_ms):
    """Level 1 on normal as the autoplay's policy plays it from start_ms; the time its level ended."""
    s.comment("The autoplay's moves (autoplay --level 1 --normal --policy %s --seed %d --think %d --script-at %d)."
              % (LEVEL1["policy"], LEVEL1["seed"], LEVEL1["think"], start_ms))
    clicks, end = autoplay_clicks(program, game_dir, 1, start_ms, LEVEL1["seed"], LEVEL1["think"], LEVEL1["policy"])
    s.include(clicks)
    return end


def build(program, game_dir, play_start):
    s = Script()
    s.lines = ["# Play-through 1, a fresh install, from empty settings and data folders.",
               "# Written by make_fresh_install.py (it says how the times work): edit that, not this."]

    s.comment("The branding picture, held after its fade-in; the title with the loading bar.")
    s.at(2000)
    s.lines.append("# checkpoint splash")
    s.at(4040)
    s.lines.append("# checkpoint progress")
    s.comment("A click on the title before the prompt: ignored.")
    s.t = 4050
    s.click(512, 600, 450)
    s.checkpoint("title", 500)
    s.click(512, 600, 1000, command="StartLoadState 1")
    s.comment("No profile yet: the first one, ann, before the main menu.")
    s.checkpoint("first_profile", 300)
    s.text("ann", 500)
    s.key("Return", 1500, command="CreateProfileState 1")
    s.checkpoint("main_menu", 500)

    s.comment("Ten clicks on the pipette.")
    for _ in range(10):
        s.click(418, 570, 150)
    s.wait(500)
    s.checkpoint("main_menu_pipette", 500)

    s.comment("Settings: the music slider, music off and on, the language there and back, full screen, Escape.")
    s.click(455, 249, 1000, command="MainMenuState 1")
    s.checkpoint("settings", 200)
    s.click(470, 300, 500, command="SettingsState 4")
    s.click(556, 290, 500, command="SettingsState 7")
    s.click(556, 290, 500, command="SettingsState 7")
    s.click(365, 595, 800, command="SettingsState 1")
    s.checkpoint("settings_language", 200)
    s.click(365, 595, 800, command="SettingsState 1")
    s.click(344, 525, 800)
    s.key("Escape", 1000, command="SettingsState 0")

    s.comment("Scores, then credits.")
    s.click(455, 291, 1000, command="MainMenuState 2")
    s.checkpoint("scores", 500)
    s.key("Escape", 1000, command="ScoresState 0")
    s.click(455, 333, 1500, command="MainMenuState 3")
    s.checkpoint("credits", 500)
    s.key("Escape", 1000, command="CreditsState 0")

    s.comment("Profiles: add bob, select the first profile, delete bob.")
    s.click(894, 180, 1000, command="MainMenuState 6")
    s.checkpoint("profiles", 500)
    s.click(397, 567, 1000, command="ChangeProfileState 1")
    s.checkpoint("profile_name", 300)
    s.text("bob", 500)
    s.key("Return", 1000, command="CreateProfileState 1")
    s.checkpoint("profiles_bob", 300)
    s.click(512, 243, 800)
    s.click(512, 308, 800)
    s.click(457, 642, 1000, command="ChangeProfileState 2")
    s.click(685, 596, 1000, command="ChangeProfileState 0")

    s.comment("Play: the difficulty question left with Escape, play again, normal.")
    s.click(455, 207, 1000, command="MainMenuState 0")
    s.checkpoint("difficulty", 300)
    s.key("Escape", 1000, command="ComplexityState 500")
    s.click(455, 207, 1000, command="MainMenuState 0")
    s.click(512, 517, 2000, command="ComplexityState 502")

    s.comment("The opening comic, page by page.")
    s.checkpoint("comics", 500)
    for page in range(8):
        s.click(900, 728, 1500)
        if page == 3:
            s.checkpoint("comics_page", 500)
        else:
            s.wait(500)
    s.wait(7000)
    s.checkpoint("intro", 17000)

    s.comment("The map after its intro: group 1 under the pointer opens its fan; level 1; the gloria flies.")
    s.move(*GROUP1, 1500)
    s.checkpoint("map_fan", 500)
    s.move(*GROUP1_TO_LEVEL1, 300)
    s.click(*GROUP1_LEVEL1, 300, command="LevelMapState 2")
    s.checkpoint("gloria", 1100)

    s.comment("Level 1 with its tutorial: the tutorial's quit answered no, a pause and continue.")
    s.at(play_start * STEP - 120)
    s.lines.append("# checkpoint loading")
    s.at(play_start * STEP + 400)
    s.lines.append("# checkpoint zoom")
    s.t = play_start * STEP + 3000
    s.checkpoint("play_tutorial", 500)
    s.click(*TUTORIAL_CLOSE, 1000, command="PlayLevelState 200")
    s.checkpoint("tutorial_quit", 500)
    s.click(685, 522, 1000, command="TutorialCancelState 1")
    s.key("Escape", 1000, command="PlayLevelState 0")
    s.checkpoint("pause_menu", 500)
    s.click(512, 317, 500, command="InGameState 0")
    end = play_level1(s, program, game_dir, play_start * STEP + 7000)
    s.t = end - 2500
    s.checkpoint("level_won")
    s.comment("The end-of-level dialog (when the autoplay's level ended): its count-up skipped by a click; continue.")
    s.t = end + 400
    s.click(512, 400, 1500)
    s.checkpoint("end_level_won", 500)
    s.click(695, 542, 4000, command="EndLevelState 0")

    s.comment("Back on the map: level 2 from group 1's fan; a pause, restart, then save and quit.")
    s.move(*GROUP1, 1500)
    s.move(*GROUP1_TO_LEVEL2, 300)
    s.click(*GROUP1_LEVEL2, 3500, command="LevelMapState 2")
    s.checkpoint("level2", 500)
    s.key("Escape", 1000, command="PlayLevelState 0")
    s.click(512, 397, 4000, command="InGameState 2")
    s.checkpoint("level2_restarted", 500)
    s.key("Escape", 1000, command="PlayLevelState 0")
    s.click(512, 517, 2000, command="InGameState 1")
    s.checkpoint("main_menu_after_save", 500)

    s.comment("Play again: the saved game's question, yes: level 2 goes on; save and quit once more.")
    s.click(455, 207, 1000, command="MainMenuState 0")
    s.checkpoint("saved_game_question", 500)
    s.click(337, 522, 6000, command="StartSavedGameState 0")
    s.checkpoint("level2_continued", 500)
    s.key("Escape", 1000, command="PlayLevelState 0")
    s.click(512, 517, 2000, command="InGameState 1")
    s.comment("Quit: no, then yes.")
    s.click(455, 425, 1000, command="MainMenuState 5")
    s.checkpoint("exit_dialog", 500)
    s.click(685, 522, 1000, command="ExitGameState 1")
    s.click(455, 425, 1000, command="MainMenuState 5")
    s.comment("Yes: the game ends by itself.")
    s.click(337, 522, 5000, command="ExitGameState 0")
    s.comment("Only if the game is still running: the script's end closes it.")
    s.at()
    s.lines.append("quit")
    return "\n".join(s.lines) + "\n"


def write_script(build_script, name):
    """The generators' command line: <autoplay program> <game dir> <play start update> [--out FILE]."""
    parser = argparse.ArgumentParser()
    parser.add_argument("autoplay")
    parser.add_argument("game_dir")
    parser.add_argument("play_start", type=int)
    parser.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), name))
    args = parser.parse_args()
    with open(args.out, "w") as f:
        f.write(build_script(args.autoplay, args.game_dir, args.play_start))


if __name__ == "__main__":
    write_script(build, "fresh_install.script")
