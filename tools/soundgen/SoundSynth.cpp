#include "tools/soundgen/SoundSynth.h"

#include <algorithm>
#include <cmath>

namespace SoundGen
{
namespace
{
constexpr double kPi = 3.14159265358979323846;

double WaveValue(Wave wave, double phase) // phase in [0, 1)
{
    switch (wave)
    {
    case Wave::Sine: return std::sin(2 * kPi * phase);
    case Wave::Triangle: return 1.0 - 4.0 * std::fabs(phase - 0.5);
    case Wave::Square: return phase < 0.5 ? 0.7 : -0.7;
    case Wave::Saw: return 0.8 * (2.0 * phase - 1.0);
    }
    return 0;
}

// Attack, then an exponential-like fall to silence at the end.
double Envelope(double t, double length, double attack)
{
    if (t < attack)
        return t / attack;
    const double rest = (t - attack) / std::max(1e-6, length - attack);
    return std::pow(1.0 - std::min(1.0, rest), 2.0);
}
} // namespace

double NoteFrequency(int semitonesFromA4)
{
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

SynthBuffer::SynthBuffer(double seconds, const std::string& seed)
    : mSamples(static_cast<size_t>(seconds * kRate), 0.0f), mNoiseState(88172645463325252ull)
{
    for (unsigned char c : seed)
        mNoiseState = (mNoiseState ^ c) * 1099511628211ull;
    if (mNoiseState == 0)
        mNoiseState = 1;
}

double SynthBuffer::NextNoise()
{
    mNoiseState ^= mNoiseState << 13;
    mNoiseState ^= mNoiseState >> 7;
    mNoiseState ^= mNoiseState << 17;
    return static_cast<double>(mNoiseState >> 11) / 4503599627370496.0 - 1.0;
}

void SynthBuffer::Add(const Tone& tone)
{
    const size_t first = static_cast<size_t>(tone.start * kRate);
    const size_t count = static_cast<size_t>(tone.length * kRate);
    const double freqEnd = tone.freqEnd > 0 ? tone.freqEnd : tone.freq;
    double phase = 0;
    for (size_t i = 0; i < count && first + i < mSamples.size(); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double k = t / tone.length;
        double freq = tone.freq * std::pow(freqEnd / tone.freq, k);
        freq *= 1.0 + tone.vibrato * std::sin(2 * kPi * tone.vibratoRate * t);
        phase += freq / kRate;
        phase -= std::floor(phase);
        mSamples[first + i] += static_cast<float>(tone.volume * Envelope(t, tone.length, tone.attack) * WaveValue(tone.wave, phase));
    }
}

void SynthBuffer::Add(const Noise& noise)
{
    const size_t first = static_cast<size_t>(noise.start * kRate);
    const size_t count = static_cast<size_t>(noise.length * kRate);
    const double cutoffEnd = noise.cutoffEnd > 0 ? noise.cutoffEnd : noise.cutoff;
    double low = 0, low2 = 0;
    for (size_t i = 0; i < count && first + i < mSamples.size(); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double cutoff = noise.cutoff * std::pow(cutoffEnd / noise.cutoff, t / noise.length);
        const double a = 1.0 - std::exp(-2 * kPi * cutoff / kRate);
        low += a * (NextNoise() - low);
        low2 += a * (low - low2);
        mSamples[first + i] += static_cast<float>(noise.volume * 2.5 * low2 * Envelope(t, noise.length, noise.attack));
    }
}

void SynthBuffer::Echo(double delaySeconds, double gain)
{
    const size_t delay = static_cast<size_t>(delaySeconds * kRate);
    for (size_t i = mSamples.size(); i-- > delay;)
        mSamples[i] += static_cast<float>(gain) * mSamples[i - delay];
}

void SynthBuffer::Normalise(double peak, bool fadeEnds)
{
    float highest = 0;
    for (float s : mSamples)
        highest = std::max(highest, std::fabs(s));
    if (highest <= 0)
        return;
    const float k = static_cast<float>(peak) / highest;
    for (float& s : mSamples)
        s *= k;
    // A few milliseconds of fade at both ends: no click on start or stop.
    const size_t fade = fadeEnds ? std::min(mSamples.size() / 2, static_cast<size_t>(kRate / 400)) : 0;
    for (size_t i = 0; i < fade; ++i)
    {
        const float g = static_cast<float>(i) / static_cast<float>(fade);
        mSamples[i] *= g;
        mSamples[mSamples.size() - 1 - i] *= g;
    }
}

void SynthBuffer::FoldInto(double loopSeconds)
{
    const size_t loop = static_cast<size_t>(loopSeconds * kRate);
    for (size_t i = loop; i < mSamples.size(); ++i)
        mSamples[i % loop] += mSamples[i];
    mSamples.resize(std::min(loop, mSamples.size()));
}

std::vector<int16_t> SynthBuffer::ToPcm16() const
{
    std::vector<int16_t> pcm(mSamples.size());
    for (size_t i = 0; i < mSamples.size(); ++i)
        pcm[i] = static_cast<int16_t>(std::lround(std::clamp(mSamples[i], -1.0f, 1.0f) * 32767.0f));
    return pcm;
}
} // namespace SoundGen
