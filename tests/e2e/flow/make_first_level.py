#!/usr/bin/env python3
"""Writes first_level.script, a new user's first level: from empty settings and data folders, the
first profile, normal difficulty, the comic and the map's intro skipped, level 1 played with its
tutorial to the end-of-level dialog, then the script's quit.

Usage: make_first_level.py <autoplay program> <game dir> <play start update> [--out FILE]

The checked-in script: make_first_level.py build/test/tools/autoplay/autoplay build/test/run <update>
where <update> is that of the flow line "change LoadLevelState PlayLevelState" of a run of the
script (rerun with the new one when the screens before the level change). The times work as in
make_fresh_install.py.
"""
from make_fresh_install import GROUP1, GROUP1_LEVEL1, GROUP1_TO_LEVEL1, STEP, Script, play_level1, write_script


def build(program, game_dir, play_start):
    s = Script()
    s.lines = ["# A new user's first level, headless: a profile, level 1 to its end-of-level dialog, the end.",
               "# Written by make_first_level.py: edit that, not this."]
    s.comment("The title once its prompt shows; the first profile.")
    s.t = 5000
    s.click(512, 600, 1000, command="StartLoadState 1")
    s.text("ann", 500)
    s.key("Return", 1500, command="CreateProfileState 1")
    s.comment("Play, normal difficulty; the comic left with Escape, the map's intro with its skip button.")
    s.click(455, 207, 1000, command="MainMenuState 0")
    s.click(512, 517, 2000, command="ComplexityState 502")
    s.key("Escape", 2000)
    # The map's intro ends while its skip button is held down in an update.
    s.at()
    s.lines += ["mouse move 980 40", "mouse down left 980 40"]
    s.t += 200
    s.at()
    s.lines.append("mouse up left 980 40")
    s.t += 1000
    s.comment("Group 1's fan, level 1.")
    s.move(*GROUP1, 1500)
    s.move(*GROUP1_TO_LEVEL1, 300)
    s.click(*GROUP1_LEVEL1, 300, command="LevelMapState 2")
    end = play_level1(s, program, game_dir, play_start * STEP + 3000)
    s.comment("The end-of-level dialog comes when the autoplay's level ended; the script ends the game after it.")
    s.t = end + 1500
    s.at()
    s.lines.append("quit")
    return "\n".join(s.lines) + "\n"


if __name__ == "__main__":
    write_script(build, "first_level.script")
