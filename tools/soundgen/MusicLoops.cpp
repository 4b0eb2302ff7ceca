// The music loops: short pieces in the petri-glass mood (soft pads, glassy arpeggios, a pulse
// for play), each a whole number of bars so that it loops without a seam.
#include "tools/soundgen/EffectRecipes.h"

#include <vector>

namespace SoundGen
{
namespace
{
struct Song
{
    double beat;                           // seconds per beat
    std::vector<std::vector<int>> chords;  // one chord a bar, semitones from A4
    bool arpeggio;
    bool pulse;
    Wave lead;
};

Song SongFor(const std::string& song)
{
    if (song == "menu")
        return {0.5, {{-12, -5, 0, 3}, {-16, -9, -4, 0}, {-21, -9, -5, 0}, {-14, -7, -2, 2}}, true, false, Wave::Sine};
    if (song == "map")
        return {0.42, {{-9, -5, -2, 3}, {-14, -9, -5, 0}, {-12, -7, -3, 0}, {-16, -11, -7, -4}}, true, false, Wave::Triangle};
    if (song == "intro")
        return {0.6, {{-21, -9, -2, 3}, {-19, -7, 0, 5}, {-24, -12, -5, 2}, {-17, -5, 2, 7}}, false, false, Wave::Sine};
    return {0.36, {{-21, -9, -5, 0}, {-16, -9, -4, 0}, {-14, -9, -5, 0}, {-19, -7, -3, 0}}, true, true, Wave::Triangle};
}
} // namespace

SynthBuffer MakeMusic(const std::string& song)
{
    const Song s = SongFor(song);
    const double bar = s.beat * 4;
    const int bars = static_cast<int>(s.chords.size()) * 2;
    const double loop = bar * bars;
    SynthBuffer b(loop + 3.0, "music-" + song);
    for (int i = 0; i < bars; ++i)
    {
        const std::vector<int>& chord = s.chords[static_cast<size_t>(i) % s.chords.size()];
        const double t = i * bar;
        // The pad: every note of the chord, slow attack, ringing into the next bar.
        for (int note : chord)
            b.Add(Tone{t, bar * 1.4, NoteFrequency(note), 0, 0.12, Wave::Sine, bar * 0.3, 0.004, 4.5});
        b.Add(Tone{t, bar, NoteFrequency(chord[0] - 12), 0, 0.2, Wave::Triangle, 0.05});
        if (s.arpeggio)
            for (int k = 0; k < 8; ++k)
            {
                const int note = chord[static_cast<size_t>((k * 3 + i) % 4)] + 12;
                b.Add(Tone{t + k * s.beat / 2, s.beat * 1.2, NoteFrequency(note), 0, 0.1, s.lead, 0.005});
            }
        if (s.pulse)
            for (int k = 0; k < 4; ++k)
            {
                b.Add(Tone{t + k * s.beat, 0.18, 110, 45, 0.35, Wave::Sine, 0.002});
                b.Add(Noise{t + k * s.beat + s.beat / 2, 0.05, 0.08, 7000});
            }
    }
    b.Echo(s.beat * 0.75, 0.3);
    b.FoldInto(loop);
    b.Normalise(0.6, false);
    return b;
}
} // namespace SoundGen
