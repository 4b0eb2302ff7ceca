#pragma once
// A tutorial on the game scene's harness: the level three-players started and settled, the
// tutorial's own synthetic art (a dark glass panel, an arrow pointer, a cross and button faces),
// DejaVu Sans as the text font, and the script written to a temporary file.
#include "SceneTestFixture.h"
#include "game/level/TutorialSteps.h"
#include "game/play/Tutorial.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/widgets/SysFont.h"
#include "framework/widgets/Widget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <tuple>
#include <string>
#include <vector>

class TutorialFixture
{
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;
    static constexpr uint32_t kBlack = 0xFF000000u;

    explicit TutorialFixture(const std::string& script, const std::string& locale = "en")
        : mPath(std::filesystem::temp_directory_path() /
                ("tutorial-test-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ".cfg")),
          steps(nullptr, mPath.string())
    {
        std::ofstream(mPath) << script;
        EXPECT_TRUE(steps.Load());
        h.services.locale = locale;
        h.services.RegisterSound(436, "SOUND_TUTOR_MISSCLICK");
        h.services.registeredParticles.insert(Tutorial::kMissParticle);
        RegisterArt();
        std::string error;
        mFont = Quoll::SysFont::Create(nullptr, "DejaVu Sans", 18, 0, error);
        EXPECT_NE(mFont, nullptr) << error;
        h.services.fonts["FONT_FNT1"] = mFont.get();
        h.Show();
        EXPECT_TRUE(h.StartLevel("three-players"));
        h.Step(100);
    }

    ~TutorialFixture()
    {
        tutorial.reset();
        // The close buttons handed over for deletion.
        for (Quoll::Widget* widget : h.services.deferredWidgets)
            delete widget;
        std::error_code ignored;
        std::filesystem::remove(mPath, ignored);
    }

    Tutorial& Make()
    {
        tutorial = std::make_unique<Tutorial>(h.services, steps);
        tutorial->Start(*h.scene, *h.scene->GetBoardView(), 1);
        return *tutorial;
    }

    // The tutorial alone on a black screen, on the 2D path.
    std::vector<uint32_t> DrawTutorial()
    {
        Quoll::MemoryImage screen;
        std::vector<uint32_t> black(static_cast<size_t>(kWidth * kHeight), kBlack);
        screen.SetBits(black.data(), kWidth, kHeight);
        {
            Quoll::Graphics g(&screen);
            tutorial->Draw(&g);
        }
        std::vector<uint32_t> pixels(screen.GetBits(), screen.GetBits() + kWidth * kHeight);
        for (uint32_t& p : pixels)
            p |= 0xFF000000u;
        return pixels;
    }

    SceneHarness h{20261208};
    std::filesystem::path mPath;
    TutorialSteps steps;
    std::unique_ptr<Tutorial> tutorial;

private:
    Quoll::MemoryImage* Add(int id, const std::string& name, int width, int height)
    {
        auto image = std::make_unique<Quoll::MemoryImage>();
        std::vector<uint32_t> blank(static_cast<size_t>(width * height), 0);
        image->SetBits(blank.data(), width, height);
        image->mFilePath = name;
        Quoll::MemoryImage* raw = image.get();
        mImages.push_back(std::move(image));
        h.services.Register(id, name, raw);
        return raw;
    }

    void RegisterArt()
    {
        // The panel: dark blue glass with a lighter rim.
        Quoll::MemoryImage* panel = Add(278, "IMAGE_TUTORIAL_BG", 420, 180);
        for (int y = 0; y < 180; ++y)
            for (int x = 0; x < 420; ++x)
            {
                const bool rim = x < 4 || y < 4 || x >= 416 || y >= 176;
                panel->GetBits()[y * 420 + x] = rim ? 0xFF6FA8DCu : 0xE0183050u + static_cast<uint32_t>(y / 6);
            }
        // The pointer: a yellow arrow pointing right (angle 0).
        Quoll::MemoryImage* pointer = Add(279, "IMAGE_TUTORIAL_PT", 48, 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
            {
                const int dy = std::abs(y - 24);
                const bool shaft = x < 28 && dy < 5;
                const bool head = x >= 28 && dy < 48 - x;
                if (shaft || head)
                    pointer->GetBits()[y * 48 + x] = 0xFFF0D030u;
            }
        Quoll::MemoryImage* cross = Add(235, "IMAGE_KREST", 24, 24);
        for (int i = 2; i < 22; ++i)
        {
            cross->GetBits()[i * 24 + i] = 0xFFFFFFFFu;
            cross->GetBits()[i * 24 + 23 - i] = 0xFFFFFFFFu;
        }
        for (const auto& [id, name, colour] : {std::tuple{162, "IMAGE_BTN1", 0xFF3050A0u},
                                               std::tuple{164, "IMAGE_BTN1_OVER", 0xFF5070C0u}})
        {
            Quoll::MemoryImage* face = Add(id, name, 160, 48);
            for (uint32_t& p : std::span(face->GetBits(), 160 * 48))
                p = colour;
        }
        h.services.texts["TUTOR_A"] = L"Tap the glowing cell to select your bacterium.";
    }

    std::unique_ptr<Quoll::SysFont> mFont;
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mImages;
};
