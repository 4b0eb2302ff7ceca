#pragma once
// How finished frames reach one SDL window. A frame of the window's own size is written into the
// window's surface, a plain memory image that SDL hands to the display server, and only the part
// that changed is sent; nothing there goes through the GPU. A frame of another size (full screen
// on a desktop of another size) is scaled with its aspect kept by SDL's renderer, made when first
// needed and dropped when frames fit the window again.
#include "framework/platform/window/FramePresenter.h"

#include <SDL.h>

namespace Quoll::Platform
{
class SdlFrameOutput
{
public:
    enum class Path
    {
        Fitting,  // the window's surface for frames of its size, the renderer for the others
        Renderer, // the renderer for every frame (the former way, kept for comparisons)
    };
    // QUOLL_PRESENT=renderer chooses Renderer; anything else (or nothing) Fitting.
    static Path PathFromEnvironment();

    SdlFrameOutput(SDL_Window* window, Path path);
    ~SdlFrameOutput();
    SdlFrameOutput(const SdlFrameOutput&) = delete;
    SdlFrameOutput& operator=(const SdlFrameOutput&) = delete;

    // Shows the frame; only `changed` differs from the frame shown before. False when the window
    // cannot show it.
    bool Show(const ArgbImageView& frame, const FrameArea& changed);
    // The display server lost the window's pixels (it was covered or unmapped): the last frame
    // written to the surface is sent again at once.
    void Exposed();
    // Whether the last frame went through the renderer.
    [[nodiscard]] bool UsesRenderer() const { return mRenderer != nullptr; }

private:
    enum class Shown
    {
        Nothing,
        Surface,
        Renderer,
    };

    bool ShowOnSurface(SDL_Surface* surface, const ArgbImageView& frame, FrameArea area);
    bool ShowScaled(const ArgbImageView& frame);
    // The window's surface when it has the frame's size and the path allows it, else null.
    SDL_Surface* FittingSurface(const ArgbImageView& frame);
    void DropRenderer();

    SDL_Window* mWindow;
    Path mPath;
    bool mNoSurface = false; // the driver has no window surface to give
    SDL_Renderer* mRenderer = nullptr;
    SDL_Texture* mTexture = nullptr;
    int mTextureWidth = 0, mTextureHeight = 0;
    // What the window shows now, so that a changed part is enough only after a frame of the same
    // size went to the same surface.
    Shown mShown = Shown::Nothing;
    SDL_Surface* mSurface = nullptr;
    int mSurfaceWidth = 0, mSurfaceHeight = 0;
};
} // namespace Quoll::Platform
