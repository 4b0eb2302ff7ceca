#pragma once
// EmotionEntry: one timed step of a face's expression: which expression (0 normal, 1 the second
// expression, 2 rage), what the step does with it, and how long it lasts.

struct EmotionEntry
{
    // What a step does with its expression.
    enum Type : int
    {
        // The transition into the expression; ends when the face is ready.
        Enter = 0,
        // Stays on the expression for the time (0: until the face is ready).
        Hold = 1,
        // The transition out of the expression; ends when the face is ready.
        Leave = 2,
        // A one-shot gesture of the expression (a blink).
        Gesture = 3,
    };

    int value = 0;
    int type = Hold;
    // Seconds left; counts down while the step is shown.
    float time = 0;

    bool operator==(const EmotionEntry&) const = default;
};
