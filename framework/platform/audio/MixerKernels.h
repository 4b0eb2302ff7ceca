#pragma once
// The inner loops of the mixer. One voice adds its samples into a stereo 32-bit accumulator:
// linear interpolation at a 32.32 fixed-point position (15-bit fraction), gains in Q16.
// MixVoiceReference is the plain per-sample definition; MixVoiceFast is specialised per sample
// layout and must give bit-identical results (the tests compare them on seeded random voices).
#include <cstddef>
#include <cstdint>

namespace Quoll::Platform
{
struct MixerVoice
{
    const uint8_t* data = nullptr;
    uint32_t frames = 0;
    uint16_t channels = 1;
    uint16_t bits = 16;
    uint64_t position = 0;       // in frames, 32.32 fixed point
    uint64_t step = 1ull << 32;  // position advance per output frame
    int32_t gainLeft = 65536;    // Q16, 0..65536
    int32_t gainRight = 65536;
    bool looping = false;
    bool playing = false;
};

constexpr int32_t kUnityGain = 65536;

// Q16 gain of an attenuation in hundredths of a decibel; -10000 and below is silence.
int32_t AttenuationToGain(int32_t hundredthsOfDb);

void MixVoiceReference(MixerVoice& voice, int32_t* stereoAccumulator, size_t frames);
void MixVoiceFast(MixerVoice& voice, int32_t* stereoAccumulator, size_t frames);

// Applies the master gain (Q16) and saturates to 16-bit stereo output.
void FinishMix(const int32_t* stereoAccumulator, int16_t* stereoOut, size_t frames,
               int32_t masterGain);
} // namespace Quoll::Platform
