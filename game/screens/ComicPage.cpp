#include "game/screens/ComicPage.h"

#include "game/shell/ResourceIds.h"

const ComicPage OpeningComicPages[8] = {
    {IMAGE_COMIC1, "UI_COMIC_STR1"}, {IMAGE_COMIC2, "UI_COMIC_STR2"},
    {IMAGE_COMIC3, "UI_COMIC_STR3"}, {IMAGE_COMIC4, "UI_COMIC_STR4"},
    {IMAGE_COMIC5, "UI_COMIC_STR5"}, {IMAGE_COMIC6, "UI_COMIC_STR6"},
    {IMAGE_COMIC7, "UI_COMIC_STR7"}, {0, ""},
};

const ComicPage FinalComicPages[3] = {
    {IMAGE_FCOMIC1, "UI_FCOMIC_STR1"},
    {IMAGE_FCOMIC2, "UI_FCOMIC_STR2"},
    {0, ""},
};

std::string ComicPictureName(int32_t picture)
{
    if (picture <= 0 || picture >= kResourceIdCount) return {};
    return kResourceIdTable[picture].name;
}
