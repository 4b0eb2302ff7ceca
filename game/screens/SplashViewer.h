#pragma once
// SplashViewer: plays the branding pictures of a folder one after the other, each fading in for
// a second, holding for two and fading out for one over a background colour read from the
// folder's "fone.txt". Once every picture has been shown it sends command 0 on every update
// until its state removes it. Escape sends 0 at once; any key or click skips to the next picture.
#include "framework/display/Color.h"
#include "game/ui/QuollWidget.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Quoll
{
class Image;
}

namespace Quoll
{
class SplashViewer final : public QuollWidget
{
public:
    static constexpr const char* kBrandingFolder = "Data/branding/";
    static constexpr const char* kColourFile = "fone.txt";
    static constexpr int kCommandDone = 0;
    static constexpr int kKeyEscape = 27;
    static constexpr float kFadeInSeconds = 1.0f;
    static constexpr float kHoldSeconds = 2.0f;
    static constexpr float kFadeOutSeconds = 1.0f;

    enum class Phase
    {
        FadingIn,
        Holding,
        FadingOut
    };

    // Loads one picture; null when it cannot be read.
    using ImageLoader = std::function<std::unique_ptr<Quoll::Image>(const std::string& path)>;

    // Pictures load through the loader, by default decoded from the file layer.
    explicit SplashViewer(std::string folder = kBrandingFolder, ImageLoader loader = {});

    void Attach(WidgetLink* link) override;
    void Detach() override;

    using Quoll::Widget::MouseDown;
    void KeyDown(int keyCode) override;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void Update() override;
    void Draw(Quoll::Graphics* g) override;

    // Skips to the next picture, starting its fade-in.
    void NextImage();

    [[nodiscard]] const Quoll::Color& GetBackgroundColour() const { return mBackgroundColour; }
    [[nodiscard]] const Quoll::Color& GetFadeColour() const { return mFadeColour; }
    [[nodiscard]] Phase GetPhase() const { return mPhase; }
    [[nodiscard]] int GetCurrentImage() const { return mCurrentImage; }
    // The pictures in showing order (their file paths in mFilePath when the loader sets it).
    [[nodiscard]] const std::vector<std::unique_ptr<Quoll::Image>>& GetImages() const { return mImages; }

    // The background colour of a colour file's bytes: its first line as a decimal or "0x"
    // hexadecimal AARRGGBB value (alpha 00 read as opaque); black when absent or not a number.
    [[nodiscard]] static Quoll::Color ParseColourFile(const std::string* bytes);
    // The folder's "jpg" and "png" file names, sorted byte-wise.
    [[nodiscard]] static std::vector<std::string> ListBranding(const std::string& folder);

private:
    void LoadBranding();

    std::string mFolder;
    ImageLoader mLoader;
    Phase mPhase = Phase::FadingIn;
    float mPhaseTime = 0.0f;
    Quoll::Color mBackgroundColour{0, 0, 0, 255};
    Quoll::Color mFadeColour{255, 255, 255, 0};
    std::vector<std::unique_ptr<Quoll::Image>> mImages;
    int mCurrentImage = 0;
};
} // namespace Quoll
