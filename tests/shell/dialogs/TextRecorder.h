#pragma once
// Every text the game's bitmap fonts draw, recorded where it lands: the fonts the resource
// manager makes are wrapped (and so are the copies that buttons and dialogs keep), and each
// string drawn through one of them is noted with its box on the screen, measured with the font's
// own widths, and the clip rectangle it was drawn under (the widget's bounds, or the screen when
// the widget cleared its clip).
#include "framework/display/Rect.h"
#include "framework/resources/FontFactory.h"
#include "framework/widgets/ImageFontFactory.h"

#include <string>
#include <vector>

namespace DialogDataTest
{
struct DrawnText
{
    std::wstring text;
    Quoll::Rect box;  // screen pixels: from the top of the font's ascent to the bottom of its descent
    Quoll::Rect clip; // screen pixels
};

class TextRecorder
{
public:
    void Clear() { mTexts.clear(); }
    void Add(DrawnText text) { mTexts.push_back(std::move(text)); }
    [[nodiscard]] const std::vector<DrawnText>& Texts() const { return mTexts; }

private:
    std::vector<DrawnText> mTexts;
};

// The bitmap fonts of the manifest, each wrapped to report what it draws to the recorder.
class RecordingFontFactory : public Quoll::FontFactory
{
public:
    explicit RecordingFontFactory(TextRecorder& recorder) : mRecorder(recorder) {}

    Quoll::Font* CreateFont(const std::string& path, const std::map<std::string, std::string>& attributes,
                            std::string& error) override;
    void DestroyFont(Quoll::Font* font) override;

private:
    TextRecorder& mRecorder;
    Quoll::ImageFontFactory mFonts;
};
} // namespace DialogDataTest
