#include "tools/soundgen/AudioWriters.h"

#include <vorbis/vorbisenc.h>

#include <fstream>

namespace SoundGen
{
namespace
{
void Put32(std::vector<char>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Put16(std::vector<char>& out, uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

bool WriteBytes(const std::string& path, const std::vector<char>& bytes, std::string& error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
} // namespace

bool WriteWav(const std::string& path, const std::vector<int16_t>& pcm, int rate, std::string& error)
{
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    std::vector<char> out;
    out.reserve(44 + dataBytes);
    for (char c : std::string("RIFF"))
        out.push_back(c);
    Put32(out, 36 + dataBytes);
    for (char c : std::string("WAVEfmt "))
        out.push_back(c);
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate * 2));
    Put16(out, 2);
    Put16(out, 16);
    for (char c : std::string("data"))
        out.push_back(c);
    Put32(out, dataBytes);
    for (int16_t s : pcm)
        Put16(out, static_cast<uint16_t>(s));
    return WriteBytes(path, out, error);
}

bool WriteOggVorbis(const std::string& path, const std::vector<float>& samples, int rate, float quality,
                    std::string& error)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, rate, quality) != 0)
    {
        vorbis_info_clear(&info);
        error = "the Vorbis encoder refuses its settings";
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "PetriGlow Saga");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x50474C57); // a fixed serial number: reproducible bytes

    std::vector<char> out;
    auto flushPage = [&](ogg_page& page) {
        out.insert(out.end(), reinterpret_cast<const char*>(page.header), reinterpret_cast<const char*>(page.header) + page.header_len);
        out.insert(out.end(), reinterpret_cast<const char*>(page.body), reinterpret_cast<const char*>(page.body) + page.body_len);
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        flushPage(page);

    constexpr size_t kChunk = 4096;
    bool done = false;
    for (size_t pos = 0; !done;)
    {
        const size_t count = std::min(kChunk, samples.size() - pos);
        if (count == 0)
            vorbis_analysis_wrote(&dsp, 0);
        else
        {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (size_t i = 0; i < count; ++i)
                buffer[0][i] = samples[pos + i];
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            pos += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1)
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                {
                    flushPage(page);
                    if (ogg_page_eos(&page))
                        done = true;
                }
            }
        }
        if (count == 0)
            done = true;
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        flushPage(page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return WriteBytes(path, out, error);
}
} // namespace SoundGen
