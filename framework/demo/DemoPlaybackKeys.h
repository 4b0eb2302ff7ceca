#pragma once
// The keys typed while a demo plays: speed, fast-forward to the end or to a time before it,
// single steps, pause, and the requests the application answers itself (the jump-to-time
// and marker dialogs, the sound toggle).
//   '+' '-' speed x 1.5 / 1.5     '=' speed 1        '0' run to the end at full speed
//   '4'..'9' run fast to the last 2 min, 90 s, 60 s, 30 s, 10 s, 5 s of the demo
//   'n' one update and a draw     'm' fast-forward to the end     'p' pause / resume
//   'j' jump to a time            'l' marker list                 's' sound on / off
namespace Quoll
{
struct DemoPlaybackControl
{
    double speedFactor = 1.0;
    int fastForwardTarget = 0;    // updates run back to back until the update count reaches it
    bool fastForwardToEnd = false;
    bool fastForwardStep = false; // one update and a draw
    bool paused = false;
};

enum class DemoKeyAction
{
    None,         // not a playback key
    Handled,      // the control changed
    PauseToggled, // the control changed; the caller restarts its frame timing
    JumpToTime,   // the caller shows the jump-to-time dialog
    MarkerList,   // the caller shows the marker list
    ToggleSound,  // the caller toggles the sound
};

DemoKeyAction HandleDemoPlaybackKey(char32_t key, DemoPlaybackControl& control, int updateCount, int demoLength,
                                    int frameTimeMs);
} // namespace Quoll
