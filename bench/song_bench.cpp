// Heap bytes a playing song takes: the peak while it opens and starts, and what it holds while
// it plays, for a 3-minute 44.1 kHz 16-bit stereo WAV song (31.75 MB of samples)
//  - "Before": decoded whole into a sample source, then copied into a mixer buffer, as the
//    music library did before songs streamed;
//  - "Whole": decoded whole straight into the buffer (the library's non-streaming sounds);
//  - "Streamed": the music player's songs now, a stream decoded ahead a block at a time;
// and for a streamed Ogg Vorbis song (the decoder's own state counts; a song's length does not).
// Every malloc of the process is counted (glibc's allocator underneath), so the decoders' C
// allocations are included. Under a sanitizer, which owns malloc, nothing is measured.
// Figures: the counters peak_bytes and held_bytes. Run: song_bench
#include "framework/sound/MusicLibrary.h"
#include "framework/sound/SoundReaders.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUOLL_COUNT_HEAP 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define QUOLL_COUNT_HEAP 0
#endif
#endif
#ifndef QUOLL_COUNT_HEAP
#define QUOLL_COUNT_HEAP 1
#endif

namespace
{
std::atomic<int64_t> gLive{0};
std::atomic<int64_t> gPeak{0};

[[maybe_unused]] void Count(void* p)
{
    if (!p)
        return;
    const int64_t live = gLive.fetch_add(int64_t(malloc_usable_size(p))) + int64_t(malloc_usable_size(p));
    int64_t peak = gPeak.load();
    while (live > peak && !gPeak.compare_exchange_weak(peak, live))
    {
    }
}

[[maybe_unused]] void Uncount(void* p)
{
    if (p)
        gLive.fetch_sub(int64_t(malloc_usable_size(p)));
}
} // namespace

#if QUOLL_COUNT_HEAP
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);

void* malloc(size_t size)
{
    void* p = __libc_malloc(size);
    Count(p);
    return p;
}
void* calloc(size_t count, size_t size)
{
    void* p = __libc_calloc(count, size);
    Count(p);
    return p;
}
void* realloc(void* p, size_t size)
{
    Uncount(p);
    void* q = __libc_realloc(p, size);
    Count(q ? q : (size != 0 ? p : nullptr));
    return q;
}
void free(void* p)
{
    Uncount(p);
    __libc_free(p);
}
void* memalign(size_t alignment, size_t size)
{
    void* p = __libc_memalign(alignment, size);
    Count(p);
    return p;
}
void* aligned_alloc(size_t alignment, size_t size)
{
    return memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size)
{
    void* p = memalign(alignment, size);
    if (!p)
        return 12; // ENOMEM
    *out = p;
    return 0;
}
}
#endif

namespace
{
namespace fs = std::filesystem;

constexpr uint32_t kRate = 44100;
constexpr uint32_t kSongFrames = 3 * 60 * kRate;

void PutU32(std::ofstream& out, uint32_t v)
{
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}

// A 3-minute stereo song of two tones, written once per run.
const std::string& SongFile()
{
    static const std::string path = [] {
        const fs::path file = fs::temp_directory_path() / ("song_bench_" + std::to_string(::getpid()) + ".wav");
        std::ofstream out(file, std::ios::binary);
        const uint32_t bytes = kSongFrames * 4;
        out.write("RIFF", 4);
        PutU32(out, bytes + 36);
        out.write("WAVEfmt \x10\0\0\0\x01\0\x02\0", 16);
        PutU32(out, kRate);
        PutU32(out, kRate * 4);
        out.write("\x04\0\x10\0data", 8);
        PutU32(out, bytes);
        std::vector<int16_t> block(2 * 4096);
        for (uint32_t at = 0; at < kSongFrames; at += 4096)
        {
            const uint32_t n = std::min<uint32_t>(4096, kSongFrames - at);
            for (uint32_t i = 0; i < n; ++i)
            {
                block[2 * i] = int16_t(((at + i) * 440 / kRate % 2) ? 8000 : -8000);
                block[2 * i + 1] = int16_t(((at + i) * 660 / kRate % 2) ? 6000 : -6000);
            }
            out.write(reinterpret_cast<const char*>(block.data()), std::streamsize(n * 4));
        }
        std::atexit([] { fs::remove(fs::temp_directory_path() / ("song_bench_" + std::to_string(::getpid()) + ".wav")); });
        return file.string();
    }();
    return path;
}

std::string OggFile()
{
    return (fs::path(QUOLL_SOURCE_DIR) / "tests/sound/data/sweep30000.ogg").string();
}

// The song as the library made it before it streamed: the whole samples in a source, copied
// into a buffer, the source then let go.
Quoll::AdrOutputStreamPtr OpenAsBefore(const Quoll::AdrAudioDevicePtr& device, const std::string& file)
{
    Quoll::VectorSampleSink sink(Quoll::Platform::Mixer::kMaxBufferBytes);
    {
        Quoll::SoundFile input;
        if (!input.Open(file) || !Quoll::ReadWavSound(input, sink))
            return nullptr;
    }
    auto buffer = device->GetMixer().CreateBuffer(sink.format, uint32_t(sink.samples.size()));
    std::copy(sink.samples.begin(), sink.samples.end(), buffer->Lock().begin());
    return std::make_shared<Quoll::AdrOutputStream>(std::move(buffer));
}

enum class Way
{
    Before,
    Whole,
    Streamed
};

// Opens the song, plays 10 seconds of it on the offline output and reports the heap.
void PlaySong(benchmark::State& state, Way way, const std::string& (*file)())
{
    if (!QUOLL_COUNT_HEAP)
    {
        state.SkipWithError("the heap is not counted under a sanitizer");
        return;
    }
    setenv("QUOLL_AUDIO", "headless", 1);
    const std::string path = file();
    auto device = Quoll::AdrOpenDevice();
    std::vector<int16_t> out(2 * 1024);
    int64_t peak = 0, held = 0;
    for (auto _ : state)
    {
        const int64_t baseline = gLive.load();
        gPeak.store(baseline);
        auto sound = way == Way::Before
                         ? OpenAsBefore(device, path)
                         : Quoll::AdrOpenSound(device, Quoll::AdrOpenSampleSource(path), way == Way::Streamed);
        if (!sound)
        {
            state.SkipWithError("the song did not open");
            return;
        }
        sound->play();
        for (uint32_t done = 0; done < 10 * kRate; done += 1024)
            device->GetOutput().RenderOffline(out.data(), 1024);
        held = gLive.load() - baseline;
        peak = gPeak.load() - baseline;
        sound->stop();
    }
    state.counters["peak_bytes"] = double(peak);
    state.counters["held_bytes"] = double(held);
}

const std::string& OggPath()
{
    static const std::string path = OggFile();
    return path;
}

void Before(benchmark::State& state) { PlaySong(state, Way::Before, &SongFile); }
void Whole(benchmark::State& state) { PlaySong(state, Way::Whole, &SongFile); }
void Streamed(benchmark::State& state) { PlaySong(state, Way::Streamed, &SongFile); }
void StreamedOgg(benchmark::State& state) { PlaySong(state, Way::Streamed, &OggPath); }
} // namespace

BENCHMARK(Before)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Whole)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Streamed)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StreamedOgg)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
