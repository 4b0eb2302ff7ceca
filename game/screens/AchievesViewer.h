#pragma once
// AchievesViewer: the full-screen overlay of all 40 achievements over the level map. A slanted
// light sweeps across as the screen darkens, the icons fly in from the top right corner into a
// grid of 8 columns and 5 rows, and the title shows; then any key but D, or a click, flies the
// icons back and fades the darkness out, after which every update sends command 0.
#include "framework/display/Matrix3.h"
#include "game/scene/FloatPoint.h"
#include "game/scene/VisualNode.h"
#include "game/ui/QuollWidget.h"

#include <array>
#include <string>

// What the viewer asks of the game: the achievements' state, the frame time and the pointer.
class AchievesViewerServices
{
public:
    virtual ~AchievesViewerServices() = default;
    // Whether achievement number (1..40) is earned; isNew tells whether it is newly earned.
    [[nodiscard]] virtual bool IsAchieved(int number, bool& isNew) = 0;
    // Seconds of the application's last frame.
    [[nodiscard]] virtual float GetFrameTime() = 0;
    // Where the pointer is on the screen.
    [[nodiscard]] virtual FloatPoint GetPointer() = 0;
};

// The order in which the achievement numbers fill the grid, row by row.
extern const std::array<int, 40> AchievementDisplayOrder;

namespace Quoll
{
class AchievesViewer : public QuollWidget
{
public:
    static constexpr int kCommandDone = 0;
    static constexpr int kSweeping = 0;
    static constexpr int kArriving = 1;
    static constexpr int kShown = 2;
    static constexpr int kLeaving = 3;
    static constexpr int kIconCount = 40;
    static constexpr int kColumns = 8;
    static constexpr int kKeyD = 68;
    // Where the icons fly from and back to.
    static constexpr float kCornerX = 1100.0f;
    static constexpr float kCornerY = 50.0f;

    explicit AchievesViewer(AchievesViewerServices& services);
    ~AchievesViewer() override;

    void Attach(WidgetLink* link) override;
    void Update() override;
    void Draw(Graphics* g) override;
    void KeyDown(int keyCode) override;
    using QuollWidget::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;

    // Starts the exit; only while shown.
    void Close();

    [[nodiscard]] int GetViewerState() const { return mViewerState; }
    [[nodiscard]] float GetDim() const { return mDim; }
    [[nodiscard]] const VisualNode& GetIconRoot() const { return mIconRoot; }
    [[nodiscard]] const std::wstring& GetTitle() const { return mTitle; }
    [[nodiscard]] int GetTitleX() const { return mTitleX; }

private:
    void DrawIcons(Graphics* g);
    void BuildIcons();

    AchievesViewerServices& mServices;
    int mViewerState = kSweeping;
    float mStateTime = 0;
    float mDim = 0;
    VisualNode mIconRoot;
    std::wstring mTitle;
    int mTitleX = 0;
    int mTitleY = 0;
    Matrix3 mSweepMatrix;
    float mSweepTime = 0.4f;
};
} // namespace Quoll
