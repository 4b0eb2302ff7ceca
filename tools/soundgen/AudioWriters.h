#pragma once
// Writers of 16-bit mono sounds: RIFF WAV and Ogg Vorbis (a fixed stream serial number, so that
// the same samples give the same bytes).
#include <cstdint>
#include <string>
#include <vector>

namespace SoundGen
{
bool WriteWav(const std::string& path, const std::vector<int16_t>& pcm, int rate, std::string& error);
bool WriteOggVorbis(const std::string& path, const std::vector<float>& samples, int rate, float quality,
                    std::string& error);
} // namespace SoundGen
