#include "framework/app/HandCursors.h"

#include <string_view>

namespace Quoll
{
namespace
{
// 'X' outline (black), 'o' fill (white), anything else transparent; the first row is row
// `top` of the cursor.
MonochromeCursor FromPicture(int hotX, int hotY, int top, std::initializer_list<std::string_view> rows)
{
    constexpr int kRowBytes = MonochromeCursor::kSize / 8;
    MonochromeCursor cursor;
    cursor.hotX = hotX;
    cursor.hotY = hotY;
    cursor.andMask.assign(size_t(kRowBytes * MonochromeCursor::kSize), 0xFF);
    cursor.xorMask.assign(cursor.andMask.size(), 0x00);
    int y = top;
    for (std::string_view row : rows)
    {
        for (int x = 0; x < int(row.size()) && x < MonochromeCursor::kSize; ++x)
        {
            if (row[size_t(x)] != 'X' && row[size_t(x)] != 'o')
                continue;
            const size_t byte = size_t(y * kRowBytes + x / 8);
            const auto bit = uint8_t(0x80 >> (x % 8));
            cursor.andMask[byte] &= uint8_t(~bit);
            if (row[size_t(x)] == 'o')
                cursor.xorMask[byte] |= bit;
        }
        ++y;
    }
    return cursor;
}
} // namespace

MonochromeCursor PointingHandCursor()
{
    return FromPicture(11, 4, 3,
                       {
                           "          XXX",
                           "         XoooX",
                           "         XoooX",
                           "         XoooX",
                           "         XoooX",
                           "         XoooX",
                           "         XoooXXXXXXX",
                           "         XoooXoooXoooXX",
                           "     XXX XoooXoooXoooXoX",
                           "    XoooXXoooXoooXoooXoX",
                           "    XooooXoooooooooooooX",
                           "     XoooXoooooooooooooX",
                           "      XooooooooooooooooX",
                           "      XoooooooooooooooX",
                           "       XooooooooooooooX",
                           "        XoooooooooooooX",
                           "        XooooooooooooX",
                           "         XoooooooooooX",
                           "          XoooooooooX",
                           "          XXXXXXXXXXX",
                       });
}

MonochromeCursor OpenHandCursor()
{
    return FromPicture(15, 10, 2,
                       {
                           "           XXX XXX",
                           "        XXXXoooXoooXXX",
                           "       XoooXoooXoooXoooX",
                           "       XoooXoooXoooXoooX",
                           "       XoooXoooXoooXoooX",
                           "       XoooXoooXoooXoooX",
                           "  XXX  XoooXoooXoooXoooX",
                           " XoooX XoooooooooooooooX",
                           " XooooXXoooooooooooooooX",
                           "  XoooooooooooooooooooooX",
                           "   XooooooooooooooooooooX",
                           "    XoooooooooooooooooooX",
                           "     XooooooooooooooooooX",
                           "      XooooooooooooooooX",
                           "       XoooooooooooooooX",
                           "        XoooooooooooooX",
                           "         XoooooooooooX",
                           "         XXXXXXXXXXXXX",
                       });
}
} // namespace Quoll
