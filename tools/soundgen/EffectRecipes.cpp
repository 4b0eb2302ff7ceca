#include "tools/soundgen/EffectRecipes.h"

#include <cstdint>

namespace SoundGen
{
namespace
{
bool Has(const std::string& name, const char* part)
{
    return name.find(part) != std::string::npos;
}

// A pitch factor from the name, 0.8 to 1.25, and the number at the name's end (1 when none).
double NamePitch(const std::string& name)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : name)
        h = (h ^ c) * 16777619u;
    return 0.8 + 0.45 * (h % 1000) / 1000.0;
}

int TrailingNumber(const std::string& name)
{
    const char last = name.empty() ? '1' : name.back();
    return last >= '1' && last <= '9' ? last - '0' : 1;
}

SynthBuffer Pop(const std::string& name, double pitch)
{
    SynthBuffer b(0.18, name);
    b.Add(Tone{0, 0.09, 260 * pitch, 900 * pitch, 0.8, Wave::Sine, 0.002});
    b.Add(Tone{0.03, 0.08, 520 * pitch, 1500 * pitch, 0.3, Wave::Sine, 0.002});
    b.Add(Noise{0, 0.04, 0.25, 3000});
    return b;
}

SynthBuffer Blip(const std::string& name, double freq, double length)
{
    SynthBuffer b(length + 0.02, name);
    b.Add(Tone{0, length, freq, freq * 1.15, 0.6, Wave::Triangle, 0.003});
    b.Add(Tone{0, length * 0.7, freq * 2, freq * 2.3, 0.15, Wave::Sine, 0.003});
    return b;
}

SynthBuffer Explosion(const std::string& name, double pitch)
{
    SynthBuffer b(0.9, name);
    b.Add(Noise{0, 0.85, 0.9, 2500 * pitch, 120, 0.003});
    b.Add(Tone{0, 0.5, 110 * pitch, 35, 0.9, Wave::Sine, 0.002});
    return b;
}

SynthBuffer Whoosh(const std::string& name, double pitch, bool rising)
{
    SynthBuffer b(0.5, name);
    b.Add(Noise{0, 0.45, 0.7, rising ? 400 * pitch : 3500 * pitch, rising ? 3500 * pitch : 400 * pitch, 0.12});
    b.Add(Tone{0, 0.4, rising ? 300 * pitch : 900 * pitch, rising ? 900 * pitch : 300 * pitch, 0.15, Wave::Sine, 0.1});
    return b;
}

// Notes in semitones from A4, played one after another.
SynthBuffer Melody(const std::string& name, std::initializer_list<int> notes, double step, Wave wave, double ring)
{
    SynthBuffer b(step * static_cast<double>(notes.size()) + ring + 0.05, name);
    int i = 0;
    for (int note : notes)
    {
        const double f = NoteFrequency(note);
        b.Add(Tone{step * i, step + ring, f, 0, 0.45, wave, 0.004});
        b.Add(Tone{step * i, step + ring * 0.5, f * 2, 0, 0.12, Wave::Sine, 0.004});
        ++i;
    }
    b.Echo(0.11, 0.25);
    return b;
}

SynthBuffer Laugh(const std::string& name)
{
    SynthBuffer b(1.0, name);
    for (int i = 0; i < 4; ++i)
    {
        const double f = 150 - i * 12;
        b.Add(Tone{i * 0.22, 0.17, f, f * 0.85, 0.6, Wave::Saw, 0.01, 0.04, 30});
        b.Add(Noise{i * 0.22, 0.12, 0.2, 900});
    }
    return b;
}

SynthBuffer Growl(const std::string& name, double pitch)
{
    SynthBuffer b(0.7, name);
    b.Add(Tone{0, 0.65, 90 * pitch, 60 * pitch, 0.6, Wave::Saw, 0.03, 0.06, 18});
    b.Add(Tone{0, 0.65, 181 * pitch, 120 * pitch, 0.25, Wave::Square, 0.03, 0.03, 11});
    b.Add(Noise{0, 0.6, 0.25, 600, 200, 0.05});
    return b;
}

SynthBuffer Warble(const std::string& name, double pitch)
{
    SynthBuffer b(0.6, name);
    b.Add(Tone{0, 0.55, 500 * pitch, 1400 * pitch, 0.5, Wave::Sine, 0.01, 0.12, 14});
    b.Add(Tone{0.05, 0.5, 750 * pitch, 2100 * pitch, 0.2, Wave::Triangle, 0.01, 0.1, 9});
    return b;
}

SynthBuffer Jump(const std::string& name, double pitch)
{
    SynthBuffer b(0.3, name);
    b.Add(Tone{0, 0.25, 240 * pitch, 820 * pitch, 0.6, Wave::Triangle, 0.005, 0.05, 20});
    b.Add(Noise{0, 0.1, 0.15, 1800});
    return b;
}

SynthBuffer Clone(const std::string& name, double pitch)
{
    SynthBuffer b(0.35, name);
    for (int i = 0; i < 3; ++i)
        b.Add(Tone{i * 0.07, 0.1, (300 + 120 * i) * pitch, (700 + 200 * i) * pitch, 0.5, Wave::Sine, 0.003});
    return b;
}

SynthBuffer Buzz(const std::string& name)
{
    SynthBuffer b(0.25, name);
    b.Add(Tone{0, 0.22, 140, 120, 0.45, Wave::Square, 0.005});
    b.Add(Tone{0, 0.22, 147, 125, 0.3, Wave::Square, 0.005});
    return b;
}

SynthBuffer Tick(const std::string& name, double pitch)
{
    SynthBuffer b(0.06, name);
    b.Add(Tone{0, 0.04, 1800 * pitch, 1500 * pitch, 0.5, Wave::Triangle, 0.001});
    b.Add(Noise{0, 0.015, 0.2, 6000});
    return b;
}

SynthBuffer Chime(const std::string& name, double pitch)
{
    SynthBuffer b(0.9, name);
    for (double harmonic : {1.0, 2.76, 5.4})
        b.Add(Tone{0, 0.85 / harmonic + 0.1, 880 * pitch * harmonic, 0, 0.4 / harmonic, Wave::Sine, 0.002});
    return b;
}

SynthBuffer Recipe(const std::string& name)
{
    const double pitch = NamePitch(name);
    const int n = TrailingNumber(name);
    if (Has(name, "EXPLOSION") || name == "BONUS_DESTROY" || name == "BONUSMINE_HIT")
        return Explosion(name, pitch);
    if (Has(name, "POP"))
        return Pop(name, pitch * (1.0 + 0.12 * (n - 1)));
    if (name == "BOSS_LAUGH")
        return Laugh(name);
    if (Has(name, "BOSS") && !Has(name, "OVER"))
        return Growl(name, pitch);
    if (Has(name, "TELEPORT") || Has(name, "RAY") || Has(name, "BACKSTEP"))
        return Warble(name, pitch);
    if (Has(name, "ZOOM_IN") || Has(name, "FLYIN") || Has(name, "GETFLY") || Has(name, "GLORIA_FLY") ||
        Has(name, "MAP_OPEN"))
        return Whoosh(name, pitch, true);
    if (Has(name, "ZOOM_OUT") || Has(name, "FLYOUT") || Has(name, "FLY_END") || Has(name, "FLYEND") ||
        Has(name, "GLORIA_OUT") || name == "FLYBAC_HIT")
        return Whoosh(name, pitch, false);
    if (Has(name, "LOOSE") || Has(name, "FAIL"))
        return Melody(name, {3, 0, -4, -9}, 0.16, Wave::Triangle, 0.25);
    if (name == "GAME_WIN" || name == "SALUT")
        return Melody(name, {0, 4, 7, 12, 7, 12, 16}, 0.11, Wave::Triangle, 0.35);
    if (Has(name, "WIN") || Has(name, "COMPLETE") || Has(name, "ACHIEVE") || Has(name, "MEDAL_GOT"))
        return Melody(name, {0, 4, 7, 12}, 0.1, Wave::Triangle, 0.3);
    if (Has(name, "MEDAL") || name == "CELLS_DONE" || name == "SCORE_CALC_FIN")
        return Chime(name, pitch);
    if (name == "SCORE_CALC" || name == "LEVEL_CLICK" || name == "RNDLEVEL_CLICK" || name == "COMICS_NEXT")
        return Tick(name, pitch);
    if (name == "BAC_JUMP" || name == "GLORIA_ATTACK")
        return Jump(name, pitch);
    if (name == "BAC_CLONE" || Has(name, "SPAWN") || name == "PROBIRKA_ADD" || name == "BONUSMINE_SET")
        return Clone(name, pitch);
    if (name == "BAC_SELECTWRONG" || name == "TUTOR_MISSCLICK")
        return Buzz(name);
    if (Has(name, "SHOW"))
        return Melody(name, {-5, 2}, 0.09, Wave::Sine, 0.25);
    if (name == "BUTTON_SELECT")
        return Blip(name, 700, 0.09);
    if (name == "MOVE_HINT" || name == "PROBIRKA_BULB")
        return Chime(name, pitch * 1.3);
    // Hover sounds and the rest: soft blips whose pitch follows the name and its number.
    return Blip(name, 900 * pitch * (1.0 + 0.08 * (n - 1)), 0.05);
}
} // namespace

SynthBuffer MakeEffect(const std::string& name)
{
    SynthBuffer buffer = Recipe(name);
    buffer.Normalise(0.7);
    return buffer;
}
} // namespace SoundGen
