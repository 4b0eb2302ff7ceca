#include "game/shell/SharedFonts.h"

Quoll::Font* ButtonFont = nullptr;
Quoll::Font* DialogTextFont = nullptr;

void SetSharedFonts(Quoll::Font* font)
{
    ButtonFont = font;
    DialogTextFont = font;
}
