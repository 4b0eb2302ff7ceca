#pragma once
// FloatingText: a number that rises 60 px over a captured cell or an opened hidden object and
// fades out, its colour cycling between green and a red tint that grows with the capture's size.
// The HUD keeps the records by value; each one's text node is a child of the HUD.
class StringNode;

struct FloatingText
{
    // Seconds of every text's life, of its opaque part and pixels of its rise.
    static constexpr float kDuration = 1.2f;
    static constexpr float kFadeStart = 0.55f;
    static constexpr float kRise = -60.0f;

    // Red factors by level 0..5; levels are clamped into that range.
    [[nodiscard]] static int RedFactor(int level);

    // Advances the text; false while it lives. At the end its node is removed from its parent,
    // deleted and forgotten.
    bool Update(float dt);

    // Seconds since the text appeared; a new text starts at minus its delay.
    float time = 0;
    float duration = kDuration;
    float fadeStart = kFadeStart;
    float startX = 0;
    float startY = 0;
    float changeX = 0;
    float changeY = kRise;
    // Owned by its parent node.
    StringNode* node = nullptr;
    // Colour phase in radians, 0..2 pi.
    float phase = 1.0f;
    int redFactor = 255;
};
