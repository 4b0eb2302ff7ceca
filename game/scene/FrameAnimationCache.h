#pragma once
// FrameAnimationCache: the frame animations of the game's images by resource id, owned by the
// application for its whole life. Records are never removed, so the pointers handed out stay
// valid until the cache is destroyed.
//
// An ".anim" file is read line by line ('#' comments and empty lines skipped), each line a keyword
// and white-space separated values:
//   FRAMEANIMATION count delay ping-pong   steps of one pass, their default delay in ms, and
//                                          forth-and-back play when ping-pong is not 0
//   CUSTOMFRAMES c0 c1 ...                 step i shows cel ci
//   CUSTOMDELAYS d0 d1 ...                 step i lasts di ms
// Lines take effect in file order; other keywords are ignored. A FRAMEANIMATION line with a count
// below 1 or above FrameAnimation::kMaxFrames, or with a negative delay, is ignored with a
// warning; a list stops at its first value that is not an unsigned integer.
#include "game/scene/FrameAnimation.h"

#include <map>
#include <string>

namespace Quoll
{
class Image;
}
class SceneServices;

class FrameAnimationCache
{
public:
    // The folder of the bacteria's emotion animations.
    static constexpr const char* kEmotionFolder = "Data/art/textures/objects/bacteria/";

    explicit FrameAnimationCache(SceneServices& services) : mServices(services) {}
    FrameAnimationCache(const FrameAnimationCache&) = delete;
    FrameAnimationCache& operator=(const FrameAnimationCache&) = delete;

    // The record of an id, or null.
    [[nodiscard]] FrameAnimation* Find(int id);
    // Stores a copy of the animation under the id (replacing what was there).
    FrameAnimation& Add(int id, const FrameAnimation& animation);
    // Parses an ".anim" file into the id's record (created empty first when missing); false with
    // an "ERROR" log line when the file cannot be opened, true otherwise.
    bool LoadFrameAnimation(const std::string& path, int id);
    // The image's animation, by its resource id: loaded from its path + ".anim" on a miss, or
    // cached empty with a "WARNING" line when there is no such file. An image of a single cel is
    // cached empty at once, with no file looked for. Null for a null image and for an image
    // without a resource id.
    [[nodiscard]] FrameAnimation* GetFrameAnimation(const Quoll::Image* image);
    // Preloads the bacteria's emotion animations under their fixed ids (457 to 470).
    void LoadEmotionAnimations(const std::string& folder = kEmotionFolder);

    [[nodiscard]] size_t GetCount() const { return mAnimations.size(); }

private:
    SceneServices& mServices;
    std::map<int, FrameAnimation> mAnimations;
};
