#include "game/scene/FrameAnimationCache.h"

#include "framework/display/Image.h"
#include "framework/files/ConfigFile.h"
#include "game/shell/SceneServices.h"

#include <charconv>
#include <sstream>

namespace
{
// The emotion animations of the bacteria and the ids the avatars name them by.
struct EmotionAnimation
{
    int id;
    const char* file;
};
constexpr EmotionAnimation kEmotionAnimations[] = {
    {457, "emo1_nblink.anim"}, {458, "emo1_ustart.anim"}, {459, "emo1_uend.anim"},   {460, "emo1_ublink.anim"},
    {461, "emo1_ystart.anim"}, {462, "emo1_yend.anim"},   {463, "emo2_nblink.anim"}, {467, "emo2_ystart.anim"},
    {468, "emo2_yend.anim"},   {469, "emo8_nblink.anim"}, {470, "emo8_ystart.anim"},
};

template <typename T> bool ParseNumber(const std::string& word, T& value)
{
    const char* end = word.data() + word.size();
    auto parsed = value;
    const auto [stop, error] = std::from_chars(word.data(), end, parsed);
    if (error != std::errc() || stop != end)
        return false;
    value = parsed;
    return true;
}

// Where a line of an ".anim" file is, for warnings.
std::string Where(const Quoll::ConfigFile& file)
{
    return file.GetFileName() + " line " + std::to_string(file.GetLineNumber());
}

// FRAMEANIMATION count delay ping-pong.
void ReadFrameAnimationLine(std::stringstream& line, FrameAnimation& animation, const Quoll::ConfigFile& file,
                            SceneServices& services)
{
    std::string words[3];
    int count = 0, delay = 0, pingPong = 0;
    const bool read = static_cast<bool>(line >> words[0] >> words[1] >> words[2]) &&
                      ParseNumber(words[0], count) && ParseNumber(words[1], delay) && ParseNumber(words[2], pingPong);
    if (!read || count < 1 || count > static_cast<int>(FrameAnimation::kMaxFrames) || delay < 0)
    {
        services.LogWarning("LoadFrameAnimation: ignored FRAMEANIMATION line in " + Where(file));
        return;
    }
    animation.Init(static_cast<uint32_t>(delay), static_cast<uint32_t>(count), pingPong != 0);
}

// CUSTOMFRAMES or CUSTOMDELAYS: unsigned values to the end of the line, step by step.
template <typename Setter>
void ReadListLine(std::stringstream& line, const Quoll::ConfigFile& file, SceneServices& services, Setter set)
{
    std::string word;
    for (uint32_t step = 0; line >> word; ++step)
    {
        uint32_t value = 0;
        if (step >= FrameAnimation::kMaxFrames || !ParseNumber(word, value))
        {
            services.LogWarning("LoadFrameAnimation: list cut at '" + word + "' in " + Where(file));
            return;
        }
        set(step, value);
    }
}
} // namespace

FrameAnimation* FrameAnimationCache::Find(int id)
{
    const auto found = mAnimations.find(id);
    return found != mAnimations.end() ? &found->second : nullptr;
}

FrameAnimation& FrameAnimationCache::Add(int id, const FrameAnimation& animation)
{
    FrameAnimation& entry = mAnimations[id];
    entry = animation;
    return entry;
}

bool FrameAnimationCache::LoadFrameAnimation(const std::string& path, int id)
{
    FrameAnimation& animation = mAnimations[id];
    Quoll::ConfigFile file;
    if (!file.Open(path))
    {
        mServices.LogError("LoadFrameAnimation: cannot open file: " + path);
        return false;
    }
    std::stringstream line;
    while (file.NextLine(line))
    {
        std::string keyword;
        line >> keyword;
        if (keyword == "FRAMEANIMATION")
            ReadFrameAnimationLine(line, animation, file, mServices);
        else if (keyword == "CUSTOMFRAMES")
            ReadListLine(line, file, mServices, [&](uint32_t step, uint32_t cel) { animation.SetFrameIndex(step, cel); });
        else if (keyword == "CUSTOMDELAYS")
            ReadListLine(line, file, mServices, [&](uint32_t step, uint32_t ms) { animation.SetDelay(step, ms); });
    }
    return true;
}

FrameAnimation* FrameAnimationCache::GetFrameAnimation(const Quoll::Image* image)
{
    if (image == nullptr)
        return nullptr;
    const int id = mServices.GetImageResourceId(image);
    if (id == SceneServices::kNoImageId)
    {
        mServices.LogWarning("GetFrameAnimation: no resource id for image " + image->mFilePath);
        return nullptr;
    }
    if (FrameAnimation* cached = Find(id))
        return cached;
    // A picture of one cel has no frames to step through: it gets the empty animation at once,
    // without looking for a file that is not meant to exist.
    if (image->mNumRows * image->mNumCols <= 1)
        return &Add(id, FrameAnimation());
    const std::string path = image->mFilePath + ".anim";
    if (mServices.FileExists(path))
    {
        LoadFrameAnimation(path, id);
        return Find(id);
    }
    mServices.LogWarning("Not found file: " + path);
    return &Add(id, FrameAnimation());
}

void FrameAnimationCache::LoadEmotionAnimations(const std::string& folder)
{
    for (const EmotionAnimation& emotion : kEmotionAnimations)
        LoadFrameAnimation(folder + emotion.file, emotion.id);
}
