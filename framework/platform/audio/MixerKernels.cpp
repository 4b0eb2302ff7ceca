// Mixing loops: the reference definition and the per-layout fast path.
#include "framework/platform/audio/MixerKernels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace Quoll::Platform
{
int32_t AttenuationToGain(int32_t hundredthsOfDb)
{
    if (hundredthsOfDb <= -10000)
        return 0;
    if (hundredthsOfDb >= 0)
        return kUnityGain;
    return int32_t(std::lround(double(kUnityGain) * std::pow(10.0, hundredthsOfDb / 2000.0)));
}

namespace
{
int32_t Interpolate(int32_t s0, int32_t s1, int32_t fraction15)
{
    return s0 + (((s1 - s0) * fraction15) >> 15);
}

// A one-shot voice stops once its position passed the end; a looping one wraps.
void CheckEnd(MixerVoice& voice)
{
    const uint64_t frame = voice.position >> 32;
    if (frame < voice.frames)
        return;
    if (voice.looping)
        voice.position = ((frame % voice.frames) << 32) | (voice.position & 0xFFFFFFFFu);
    else
    {
        voice.playing = false;
        voice.position = 0;
    }
}

// Moves the voice one output frame on.
void Advance(MixerVoice& voice)
{
    voice.position += voice.step;
    CheckEnd(voice);
}

uint32_t NextFrame(const MixerVoice& voice, uint32_t frame)
{
    if (frame + 1 < voice.frames)
        return frame + 1;
    return voice.looping ? 0 : frame;
}

int32_t ReadSample(const MixerVoice& voice, uint32_t frame, int channel)
{
    const size_t index = size_t(frame) * voice.channels + (voice.channels == 2 ? channel : 0);
    if (voice.bits == 8)
        return (int32_t(voice.data[index]) - 128) * 256;
    return int16_t(uint16_t(voice.data[2 * index] | (voice.data[2 * index + 1] << 8)));
}

template <int Bits>
int32_t Sample(const uint8_t* data, size_t index)
{
    if constexpr (Bits == 8)
        return (int32_t(data[index]) - 128) * 256;
    else
    {
        static_assert(std::endian::native == std::endian::little);
        int16_t value;
        std::memcpy(&value, data + 2 * index, 2);
        return value;
    }
}

template <int Channels, int Bits>
void MixFrame(MixerVoice& voice, int32_t* acc, uint32_t frame, uint32_t next)
{
    const int32_t fraction = int32_t((voice.position >> 17) & 0x7FFF);
    const int32_t left = Interpolate(Sample<Bits>(voice.data, size_t(frame) * Channels),
                                     Sample<Bits>(voice.data, size_t(next) * Channels), fraction);
    int32_t right = left;
    if constexpr (Channels == 2)
        right = Interpolate(Sample<Bits>(voice.data, size_t(frame) * 2 + 1),
                            Sample<Bits>(voice.data, size_t(next) * 2 + 1), fraction);
    acc[0] += int32_t((int64_t(left) * voice.gainLeft) >> 16);
    acc[1] += int32_t((int64_t(right) * voice.gainRight) >> 16);
}

// 1. A run of output frames during which the next source frame is always inside the sound,
//    so neither the wrap nor the end is checked per frame. 2. The frame at the edge, through
//    the general step.
template <int Channels, int Bits>
void MixLayout(MixerVoice& voice, int32_t* acc, size_t frames)
{
    size_t i = 0;
    while (i < frames && voice.playing)
    {
        const uint64_t lastStart = uint64_t(voice.frames - 1) << 32;
        size_t run = 0;
        if (voice.position < lastStart)
            run = size_t(std::min<uint64_t>(frames - i,
                                             (lastStart - voice.position - 1) / voice.step + 1));
        for (size_t end = i + run; i < end; ++i)
        {
            const uint32_t frame = uint32_t(voice.position >> 32);
            MixFrame<Channels, Bits>(voice, acc + 2 * i, frame, frame + 1);
            voice.position += voice.step;
        }
        CheckEnd(voice);
        if (i < frames && voice.playing)
        {
            const uint32_t frame = uint32_t(voice.position >> 32);
            MixFrame<Channels, Bits>(voice, acc + 2 * i, frame, NextFrame(voice, frame));
            Advance(voice);
            ++i;
        }
    }
}
} // namespace

void MixVoiceReference(MixerVoice& voice, int32_t* acc, size_t frames)
{
    for (size_t i = 0; i < frames && voice.playing && voice.frames > 0; ++i)
    {
        const uint32_t frame = uint32_t(voice.position >> 32);
        const int32_t fraction = int32_t((voice.position >> 17) & 0x7FFF);
        const uint32_t next = NextFrame(voice, frame);
        const int32_t left =
            Interpolate(ReadSample(voice, frame, 0), ReadSample(voice, next, 0), fraction);
        const int32_t right =
            Interpolate(ReadSample(voice, frame, 1), ReadSample(voice, next, 1), fraction);
        acc[2 * i] += int32_t((int64_t(left) * voice.gainLeft) >> 16);
        acc[2 * i + 1] += int32_t((int64_t(right) * voice.gainRight) >> 16);
        Advance(voice);
    }
}

void MixVoiceFast(MixerVoice& voice, int32_t* acc, size_t frames)
{
    if (!voice.playing || voice.frames == 0)
        return;
    const int layout = (voice.channels == 2 ? 2 : 0) + (voice.bits == 8 ? 1 : 0);
    switch (layout)
    {
    case 0: MixLayout<1, 16>(voice, acc, frames); break;
    case 1: MixLayout<1, 8>(voice, acc, frames); break;
    case 2: MixLayout<2, 16>(voice, acc, frames); break;
    default: MixLayout<2, 8>(voice, acc, frames); break;
    }
}

void FinishMix(const int32_t* acc, int16_t* out, size_t frames, int32_t masterGain)
{
    for (size_t i = 0; i < 2 * frames; ++i)
    {
        const int64_t value = (int64_t(acc[i]) * masterGain) >> 16;
        out[i] = int16_t(std::clamp<int64_t>(value, -32768, 32767));
    }
}
} // namespace Quoll::Platform
