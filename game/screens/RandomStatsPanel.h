#pragma once
// RandomStatsPanel: the level map's row of test tubes, one per episode the player has passed.
// A tube's fill shows the player's random-level record of its episode, a caption gives the
// figures while the mouse is on it, and a click asks the map's state (command 100, the episode)
// to start a random level of that episode. Now and then, while no tube is hovered, one tube
// bubbles.
#include "game/scene/FloatPoint.h"
#include "game/screens/RandomStatsIcon.h"

#include <array>
#include <string>

namespace Quoll
{
class Graphics;
}
class BaseWidget;
class LevelList;
class PlayServices;
class Profile;

class RandomStatsPanel
{
public:
    static constexpr int kTubeCount = 5;
    // The command sent to the map's state by a click on a tube; its argument is the episode.
    static constexpr int kRandomLevelCommand = 100;

    // profile: whose random-level record the tubes show; may be null (empty tubes).
    RandomStatsPanel(PlayServices& services, const LevelList& levels, const Profile* profile);

    // Sets the tubes up for the map (the receiver of clicks; may be null) and the group being
    // celebrated (-1 for none): a tube per passed episode, the one just passed bouncing in.
    void Setup(BaseWidget* map, int group);
    void Update(float dt);
    void Draw(Quoll::Graphics* g);
    void MouseMove(int x, int y);
    void MouseDown(int x, int y);

    // The point a random level of the episode starts from (the episode clamped to 1..5).
    [[nodiscard]] FloatPoint GetIconCentre(int episode) const;
    // The random-level fill of an episode: 20 percent per win once one was played.
    [[nodiscard]] int FillPercent(int episode) const;

    [[nodiscard]] const RandomStatsIcon& GetTube(int index) const { return mTubes.at(static_cast<size_t>(index)); }
    [[nodiscard]] int GetHoveredTube() const { return mHoveredTube; }
    // 0..1; the map shows the panel's title while it is above 0.
    [[nodiscard]] float GetCaptionAlpha() const { return mCaptionAlpha; }
    [[nodiscard]] const std::wstring& GetCaption() const { return mCaption; }
    [[nodiscard]] int GetCaptionX() const { return mCaptionX; }
    [[nodiscard]] int GetCaptionY() const { return mCaptionY; }

private:
    void SetupIcon(int index, bool isNew);
    void UpdateBubbles(float dt);
    void ShowCaption(int index);
    [[nodiscard]] int CountPresent() const;

    PlayServices& mServices;
    const LevelList& mLevels;
    const Profile* mProfile;
    int mHoveredTube = -1;
    float mCaptionAlpha = 0;
    BaseWidget* mMap = nullptr;
    float mBubbleTimer = 0;
    std::array<RandomStatsIcon, kTubeCount> mTubes{};
    std::wstring mCaption;
    int mCaptionX = 0;
    int mCaptionY = 0;
};
