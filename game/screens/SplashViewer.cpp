#include "game/screens/SplashViewer.h"

#include "framework/core/Common.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"
#include "framework/files/PakInterface.h"
#include "game/ui/UiServices.h"

#include <algorithm>

namespace Quoll
{

namespace
{
std::unique_ptr<Quoll::Image> DecodeImage(const std::string& path)
{
    std::unique_ptr<ImageLib::Image> picture = ImageLib::ReadImageFile(path);
    if (!picture)
        return nullptr;
    auto image = std::make_unique<Quoll::MemoryImage>();
    image->mFilePath = path;
    image->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight());
    return image;
}
} // namespace

SplashViewer::SplashViewer(std::string folder, ImageLoader loader)
    : mFolder(std::move(folder)), mLoader(loader ? std::move(loader) : ImageLoader(DecodeImage))
{
}

std::vector<std::string> SplashViewer::ListBranding(const std::string& folder)
{
    std::vector<std::string> names;
    Quoll::ListFilesByExtension(folder, "jpg", names);
    Quoll::ListFilesByExtension(folder, "png", names);
    // Byte-wise, so jpg and png pictures interleave by name.
    std::sort(names.begin(), names.end());
    return names;
}

Quoll::Color SplashViewer::ParseColourFile(const std::string* bytes)
{
    const Quoll::Color black(0, 0, 0, 255);
    if (bytes == nullptr)
        return black;
    std::string line;
    for (char c : *bytes)
    {
        if (c == '\0' || c == '\n')
            break;
        if (c != '\r')
            line += c;
    }
    int argb = 0;
    if (line.empty() || !Quoll::StringToInt(line, argb))
        return black;
    return Quoll::Color(argb);
}

void SplashViewer::LoadBranding()
{
    mImages.clear();
    for (const std::string& name : ListBranding(mFolder))
        if (std::unique_ptr<Quoll::Image> image = mLoader(mFolder + "/" + name))
            mImages.push_back(std::move(image));
    std::string bytes;
    const bool read = Quoll::PakReadFile(mFolder + kColourFile, bytes);
    mBackgroundColour = ParseColourFile(read ? &bytes : nullptr);
}

void SplashViewer::Attach(WidgetLink* link)
{
    Resize(0, 0, Ui().GetAppWidth(), Ui().GetAppHeight());
    LoadBranding();
    QuollWidget::Attach(link);
}

void SplashViewer::Detach()
{
    QuollWidget::Detach();
    mImages.clear();
}

void SplashViewer::KeyDown(int keyCode)
{
    if (keyCode == kKeyEscape)
        SendToLink(kCommandDone, 0);
    NextImage();
}

void SplashViewer::MouseDown(int, int, int, int)
{
    NextImage();
}

void SplashViewer::NextImage()
{
    ++mCurrentImage;
    mPhaseTime = 0.0f;
    mPhase = Phase::FadingIn;
}

void SplashViewer::Update()
{
    MarkAllDirty();
    if (mCurrentImage >= static_cast<int>(mImages.size()))
        SendToLink(kCommandDone, 0);
    mPhaseTime += Ui().GetFrameTime();
    if (mPhase == Phase::FadingIn)
    {
        if (mPhaseTime <= kFadeInSeconds)
        {
            mFadeColour.a = static_cast<int>(mPhaseTime * 255.0f);
            return;
        }
        mPhaseTime = 0.0f;
        mPhase = Phase::Holding;
    }
    if (mPhase == Phase::Holding)
    {
        if (mPhaseTime <= kHoldSeconds)
            return;
        mPhaseTime = 0.0f;
        mPhase = Phase::FadingOut;
    }
    if (mPhaseTime > kFadeOutSeconds)
        NextImage();
    else
        mFadeColour.a = 255 - static_cast<int>(mPhaseTime * 255.0f);
}

void SplashViewer::Draw(Quoll::Graphics* g)
{
    const int width = Ui().GetAppWidth();
    const int height = Ui().GetAppHeight();
    g->SetColor(mBackgroundColour);
    g->FillRect(0, 0, width, height);
    if (mCurrentImage < static_cast<int>(mImages.size()) && mImages[static_cast<size_t>(mCurrentImage)] != nullptr)
    {
        g->SetImageTint(true);
        // The plain stretch: the same pixels as the smooth one for pictures of the screen's size,
        // and like it it honours the fade's tint.
        g->SetFastStretch(true);
        g->SetColor(mFadeColour);
        g->DrawImage(mImages[static_cast<size_t>(mCurrentImage)].get(), 0, 0, width, height);
        g->SetFastStretch(false);
        g->SetImageTint(false);
    }
}
} // namespace Quoll
