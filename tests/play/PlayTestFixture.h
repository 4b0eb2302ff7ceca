#pragma once
// The play suite's common set-up: fake services with the synthetic art, the program-wide values
// reset around each case, a board view on screen, boards built in code, and a destination image
// that records every blit it receives.
#include "FakePlayServices.h"
#include "game/board/Board.h"
#include "game/play/Bacteria.h"
#include "game/play/BoardView.h"
#include "game/play/Bonus.h"
#include "game/play/PlayGlobals.h"
#include "game/play/VCell.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// One blit as the recording image saw it.
struct BlitRecord
{
    std::string source;
    float x = 0;
    float y = 0;
    Quoll::Rect srcRect;
    Quoll::Color color;
    Quoll::DrawMode mode = Quoll::DrawMode::Normal;
    bool transformed = false;
};

class RecordingImage : public Quoll::Image
{
public:
    RecordingImage()
    {
        mWidth = 1024;
        mHeight = 768;
    }
    void Blt(Quoll::Image* source, int x, int y, const Quoll::Rect& srcRect, const Quoll::Color& color,
             Quoll::DrawMode mode) override
    {
        blits.push_back({Name(source), static_cast<float>(x), static_cast<float>(y), srcRect, color, mode, false});
    }
    void BltAtFloat(Quoll::Image* source, float x, float y, const Quoll::Rect& srcRect, const Quoll::Rect& /*clip*/,
                    const Quoll::Color& color, Quoll::DrawMode mode) override
    {
        blits.push_back({Name(source), x, y, srcRect, color, mode, false});
    }
    void BltMatrix(Quoll::Image* source, float x, float y, const Quoll::Matrix3& /*matrix*/,
                   const Quoll::Rect& /*clip*/, const Quoll::Color& color, Quoll::DrawMode mode,
                   const Quoll::Rect& srcRect, bool /*filtering*/) override
    {
        blits.push_back({Name(source), x, y, srcRect, color, mode, true});
    }

    void BltRotated(Quoll::Image* source, float x, float y, const Quoll::Rect& srcRect, const Quoll::Rect& /*clip*/,
                    const Quoll::Color& color, Quoll::DrawMode mode, double /*angle*/, float /*centerX*/,
                    float /*centerY*/) override
    {
        blits.push_back({Name(source), x, y, srcRect, color, mode, true});
    }
    void StretchBlt(Quoll::Image* source, const Quoll::Rect& destRect, const Quoll::Rect& srcRect,
                    const Quoll::Rect& /*clip*/, const Quoll::Color& color, Quoll::DrawMode mode,
                    bool /*fastStretch*/) override
    {
        blits.push_back({Name(source), static_cast<float>(destRect.x), static_cast<float>(destRect.y), srcRect, color,
                         mode, true});
    }

    std::vector<BlitRecord> blits;

private:
    static std::string Name(const Quoll::Image* image) { return image != nullptr ? image->mFilePath : "null"; }
};

// A board of the given kind on every place.
inline Board FullBoard(int kind = 1)
{
    Board board;
    board.Clear();
    for (int id = 0; id < BoardView::kCellCount; ++id)
        board.SetCellValue(id, kind);
    return board;
}

class PlayTest : public ::testing::Test
{
protected:
    PlayTest()
    {
        ResetPlayGlobalsForTests();
        services.RegisterArt();
        view = std::make_unique<BoardView>(services);
        view->InitLayers();
    }
    ~PlayTest() override
    {
        view.reset();
        ResetPlayGlobalsForTests();
    }

    // Logic steps of 10 ms of the board view.
    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            view->Update(0.01f);
    }
    VCell& Cell(int id) { return *view->FindCellView(id); }

    FakePlayServices services{7};
    std::unique_ptr<BoardView> view;
};
