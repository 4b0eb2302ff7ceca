#pragma once
// Cursor pictures: the system's shapes by id, and cursors made from monochrome masks or
// from ARGB images, both turned into an ARGB picture with a hot spot.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace Quoll::Platform
{
// The system cursor ids, numbered as the framework names them (IDC_ARROW ...).
enum class SystemCursor : uint16_t
{
    Arrow = 32512,
    IBeam = 32513,
    Wait = 32514,
    Cross = 32515,
    SizeNWSE = 32642,
    SizeNESW = 32643,
    SizeWE = 32644,
    SizeNS = 32645,
    SizeAll = 32646,
    No = 32648,
    Hand = 32649,
};
inline constexpr SystemCursor IDC_ARROW = SystemCursor::Arrow;
inline constexpr SystemCursor IDC_IBEAM = SystemCursor::IBeam;
inline constexpr SystemCursor IDC_WAIT = SystemCursor::Wait;
inline constexpr SystemCursor IDC_CROSS = SystemCursor::Cross;
inline constexpr SystemCursor IDC_SIZENWSE = SystemCursor::SizeNWSE;
inline constexpr SystemCursor IDC_SIZENESW = SystemCursor::SizeNESW;
inline constexpr SystemCursor IDC_SIZEWE = SystemCursor::SizeWE;
inline constexpr SystemCursor IDC_SIZENS = SystemCursor::SizeNS;
inline constexpr SystemCursor IDC_SIZEALL = SystemCursor::SizeAll;
inline constexpr SystemCursor IDC_NO = SystemCursor::No;
inline constexpr SystemCursor IDC_HAND = SystemCursor::Hand;

// Handle of a cursor made by the window system; None hides the pointer.
enum class CursorId : uint32_t
{
    None = 0,
};

struct CursorPicture
{
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint32_t> pixels; // 0xAARRGGBB, width * height

    // From AND and XOR masks, one bit per pixel, rows padded to 16 bits, most
    // significant bit first: AND 0 paints black (XOR 0) or white (XOR 1); AND 1 leaves
    // the screen (XOR 0) or inverts it (XOR 1, shown as opaque black, there being no
    // inversion with colour cursors). Null when the masks are too short or the size bad.
    static std::optional<CursorPicture> FromMasks(int width, int height, int hotX, int hotY,
                                                  std::span<const uint8_t> andMask, std::span<const uint8_t> xorMask);
};
} // namespace Quoll::Platform
