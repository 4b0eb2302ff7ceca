#pragma once
// Building blocks of the synthesised sounds: a mono float buffer at a fixed rate and voices mixed
// into it (tones with pitch sweeps, filtered noise, simple envelopes). Everything is computed
// from the inputs alone, so a sound comes out the same on every run.
#include <cstdint>
#include <string>
#include <vector>

namespace SoundGen
{
inline constexpr int kRate = 22050;

enum class Wave
{
    Sine,
    Triangle,
    Square,
    Saw,
};

struct Tone
{
    double start = 0;     // seconds into the buffer
    double length = 0.1;  // seconds
    double freq = 440;    // at the start
    double freqEnd = 0;   // at the end (0: same as freq)
    double volume = 0.5;
    Wave wave = Wave::Sine;
    double attack = 0.005; // seconds
    double vibrato = 0;    // depth as a fraction of the frequency
    double vibratoRate = 6;
};

struct Noise
{
    double start = 0;
    double length = 0.2;
    double volume = 0.5;
    double cutoff = 2000;    // one-pole low-pass, Hz
    double cutoffEnd = 0;    // 0: same as cutoff
    double attack = 0.002;
};

class SynthBuffer
{
public:
    SynthBuffer(double seconds, const std::string& seed);

    void Add(const Tone& tone);
    void Add(const Noise& noise);
    // Scales the whole buffer so that its peak is the given level (below full scale); a sound
    // that is not a loop also fades in and out over a few milliseconds.
    void Normalise(double peak, bool fadeEnds = true);
    // For loops: everything past the loop's length is added to its start, then cut off, so
    // that notes ringing over the end continue seamlessly at the start.
    void FoldInto(double loopSeconds);
    // A short echo: the buffer delayed and added, quieter.
    void Echo(double delaySeconds, double gain);

    const std::vector<float>& Samples() const { return mSamples; }
    std::vector<int16_t> ToPcm16() const;

private:
    double NextNoise();

    std::vector<float> mSamples;
    uint64_t mNoiseState;
};

double NoteFrequency(int semitonesFromA4);
} // namespace SoundGen
