#pragma once
// A bold face made from a regular one: each character is drawn twice, one pixel apart, and
// takes one pixel more room. The installed font families have no bold face that the system
// font can pick by name, and the crash windows' labels are bold.
#include "framework/display/Font.h"

#include <memory>

namespace Quoll
{
class EmboldenedFont final : public Font
{
public:
    explicit EmboldenedFont(std::unique_ptr<Font> regular) : mRegular(std::move(regular)) {}
    EmboldenedFont(const EmboldenedFont& other) : Font(other), mRegular(other.mRegular->Duplicate()) {}

    [[nodiscard]] int GetHeight() const override { return mRegular->GetHeight(); }
    [[nodiscard]] int GetAscent() const override { return mRegular->GetAscent(); }
    [[nodiscard]] int GetAscentPadding() const override { return mRegular->GetAscentPadding(); }
    [[nodiscard]] int GetLineSpacing() const override { return mRegular->GetLineSpacing(); }
    [[nodiscard]] int StringWidth(const std::wstring& text) override;
    [[nodiscard]] int CharWidthKern(wchar_t c, wchar_t previous) override;
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                    const Rect& clip) override;
    [[nodiscard]] std::unique_ptr<Font> Duplicate() const override;

private:
    std::unique_ptr<Font> mRegular;
};
} // namespace Quoll
