#include "tests/shell/dialogs/TextRecorder.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"

#include <memory>

namespace DialogDataTest
{
namespace
{
class RecordingFont : public Quoll::Font
{
public:
    RecordingFont(std::unique_ptr<Quoll::Font> font, TextRecorder& recorder)
        : mFont(std::move(font)), mRecorder(recorder)
    {
    }

    int GetHeight() const override { return mFont->GetHeight(); }
    int GetAscent() const override { return mFont->GetAscent(); }
    int GetAscentPadding() const override { return mFont->GetAscentPadding(); }
    int GetDescent() const override { return mFont->GetDescent(); }
    int GetLineSpacing() const override { return mFont->GetLineSpacing(); }
    int StringWidth(const std::wstring& text) override { return mFont->StringWidth(text); }
    int CharWidth(wchar_t c) override { return mFont->CharWidth(c); }
    int CharWidthKern(wchar_t c, wchar_t previous) override { return mFont->CharWidthKern(c, previous); }

    void DrawString(Quoll::Graphics* g, int x, int y, const std::wstring& text, const Quoll::Color& color,
                    const Quoll::Rect& clip) override
    {
        const bool blank = text.find_first_not_of(L' ') == std::wstring::npos;
        if (!blank && color.a > 0)
        {
            const int left = static_cast<int>(static_cast<float>(x) + g->mTransX);
            const int baseline = static_cast<int>(static_cast<float>(y) + g->mTransY);
            const int top = baseline - mFont->GetAscent();
            mRecorder.Add({text, Quoll::Rect(left, top, mFont->StringWidth(text), mFont->GetHeight()), clip});
        }
        mFont->DrawString(g, x, y, text, color, clip);
    }

    std::unique_ptr<Quoll::Font> Duplicate() const override
    {
        return std::make_unique<RecordingFont>(mFont->Duplicate(), mRecorder);
    }

private:
    std::unique_ptr<Quoll::Font> mFont;
    TextRecorder& mRecorder;
};
} // namespace

Quoll::Font* RecordingFontFactory::CreateFont(const std::string& path,
                                               const std::map<std::string, std::string>& attributes,
                                               std::string& error)
{
    Quoll::Font* font = mFonts.CreateFont(path, attributes, error);
    if (font == nullptr)
        return nullptr;
    return new RecordingFont(std::unique_ptr<Quoll::Font>(font), mRecorder);
}

void RecordingFontFactory::DestroyFont(Quoll::Font* font)
{
    delete font;
}
} // namespace DialogDataTest
