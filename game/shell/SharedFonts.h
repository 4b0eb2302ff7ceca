#pragma once
// The two font slots shared by the game's widgets: ButtonFont labels every game button,
// DialogTextFont draws the lines that dialogs draw themselves (list rows, captions). The
// application sets both to the font of FONT_FNT1 once the "Fonts" group is loaded, and clears
// them before that group is freed. Not owned.
namespace Quoll
{
class Font;
}

extern Quoll::Font* ButtonFont;
extern Quoll::Font* DialogTextFont;

void SetSharedFonts(Quoll::Font* font);
