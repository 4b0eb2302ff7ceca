#include "framework/platform/window/sdl/SdlFrameOutput.h"

#include "framework/platform/system/PlatformLog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace Quoll::Platform
{
namespace
{
FrameArea Clip(const FrameArea& area, int width, int height)
{
    return {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width), std::min(area.bottom, height)};
}

// Copies the area of the frame into the same place of the surface, converting the pixels when
// the surface keeps another layout.
bool CopyArea(const ArgbImageView& frame, const FrameArea& area, SDL_Surface* surface)
{
    const Uint32 format = surface->format->format;
    const auto* from = reinterpret_cast<const uint8_t*>(frame.pixels) + static_cast<size_t>(area.top) * static_cast<size_t>(frame.pitchBytes) +
                       static_cast<size_t>(area.left) * 4;
    auto* to = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(area.top) * static_cast<size_t>(surface->pitch) +
               static_cast<size_t>(area.left) * surface->format->BytesPerPixel;
    const int width = area.right - area.left, height = area.bottom - area.top;
    // Frames are opaque, so a surface that ignores or keeps alpha takes their bytes as they are.
    if (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888)
    {
        for (int y = 0; y < height; ++y)
            std::memcpy(to + static_cast<size_t>(y) * static_cast<size_t>(surface->pitch),
                        from + static_cast<size_t>(y) * static_cast<size_t>(frame.pitchBytes), static_cast<size_t>(width) * 4);
        return true;
    }
    return SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_ARGB8888, from, frame.pitchBytes, format, to,
                             surface->pitch) == 0;
}
} // namespace

SdlFrameOutput::Path SdlFrameOutput::PathFromEnvironment()
{
    const char* chosen = std::getenv("QUOLL_PRESENT");
    return chosen != nullptr && std::strcmp(chosen, "renderer") == 0 ? Path::Renderer : Path::Fitting;
}

SdlFrameOutput::SdlFrameOutput(SDL_Window* window, Path path) : mWindow(window), mPath(path)
{
    // A plain memory surface: without the hint SDL may back window surfaces by a GPU texture.
    if (mPath == Path::Fitting)
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

SdlFrameOutput::~SdlFrameOutput()
{
    DropRenderer();
}

void SdlFrameOutput::DropRenderer()
{
    if (mTexture != nullptr)
        SDL_DestroyTexture(mTexture);
    if (mRenderer != nullptr)
        SDL_DestroyRenderer(mRenderer);
    mTexture = nullptr;
    mRenderer = nullptr;
    mTextureWidth = mTextureHeight = 0;
}

SDL_Surface* SdlFrameOutput::FittingSurface(const ArgbImageView& frame)
{
    if (mPath == Path::Renderer || mNoSurface)
        return nullptr;
    int width = 0, height = 0;
    SDL_GetWindowSize(mWindow, &width, &height);
    if (width != frame.width || height != frame.height)
        return nullptr;
    // The renderer draws into the same window: it goes before the surface is used.
    DropRenderer();
    SDL_Surface* surface = SDL_GetWindowSurface(mWindow);
    if (surface == nullptr)
    {
        // A video driver without plain window surfaces: the renderer shows every frame.
        LogLine("WindowSystem", std::string("SDL_GetWindowSurface: ") + SDL_GetError() + "; frames go through the renderer");
        mNoSurface = true;
        return nullptr;
    }
    // A window whose pixels are not its size (a scaled desktop) keeps to the renderer.
    if (surface->w != frame.width || surface->h != frame.height || surface->format->BytesPerPixel < 2)
        return nullptr;
    return surface;
}

bool SdlFrameOutput::Show(const ArgbImageView& frame, const FrameArea& changed)
{
    if (!frame.IsValid())
        return false;
    if (SDL_Surface* surface = FittingSurface(frame))
    {
        const bool continues = mShown == Shown::Surface && mSurface == surface && mSurfaceWidth == frame.width &&
                               mSurfaceHeight == frame.height;
        return ShowOnSurface(surface, frame,
                             continues ? Clip(changed, frame.width, frame.height)
                                       : FrameArea{0, 0, frame.width, frame.height});
    }
    return ShowScaled(frame);
}

bool SdlFrameOutput::ShowOnSurface(SDL_Surface* surface, const ArgbImageView& frame, FrameArea area)
{
    mShown = Shown::Nothing;
    if (!area.IsEmpty())
    {
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
            return false;
        const bool copied = CopyArea(frame, area, surface);
        if (SDL_MUSTLOCK(surface))
            SDL_UnlockSurface(surface);
        if (!copied)
            return false;
        const SDL_Rect rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
        if (SDL_UpdateWindowSurfaceRects(mWindow, &rect, 1) != 0)
            return false;
    }
    mShown = Shown::Surface;
    mSurface = surface;
    mSurfaceWidth = frame.width;
    mSurfaceHeight = frame.height;
    return true;
}

void SdlFrameOutput::Exposed()
{
    if (mShown == Shown::Surface)
        SDL_UpdateWindowSurface(mWindow);
}

bool SdlFrameOutput::ShowScaled(const ArgbImageView& frame)
{
    mShown = Shown::Nothing;
    if (mRenderer == nullptr)
    {
        mRenderer = SDL_CreateRenderer(mWindow, -1, 0);
        if (mRenderer == nullptr)
        {
            LogLine("WindowSystem", std::string("SDL_CreateRenderer: ") + SDL_GetError());
            return false;
        }
    }
    if (mTexture == nullptr || mTextureWidth != frame.width || mTextureHeight != frame.height)
    {
        if (mTexture != nullptr)
            SDL_DestroyTexture(mTexture);
        mTexture = SDL_CreateTexture(mRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, frame.width,
                                     frame.height);
        if (mTexture == nullptr)
            return false;
        mTextureWidth = frame.width;
        mTextureHeight = frame.height;
        // Scales with letterboxing, and maps mouse events back to frame pixels.
        SDL_RenderSetLogicalSize(mRenderer, frame.width, frame.height);
    }
    if (SDL_UpdateTexture(mTexture, nullptr, frame.pixels, frame.pitchBytes) != 0)
        return false;
    SDL_SetRenderDrawColor(mRenderer, 0, 0, 0, 255);
    SDL_RenderClear(mRenderer);
    SDL_RenderCopy(mRenderer, mTexture, nullptr, nullptr);
    SDL_RenderPresent(mRenderer);
    mShown = Shown::Renderer;
    return true;
}
} // namespace Quoll::Platform
