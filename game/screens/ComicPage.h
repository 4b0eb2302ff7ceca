#pragma once
// ComicPage: one page of a picture story, its picture's resource id and its caption's text key.
// The two comics are fixed tables ending with the record {0, ""}.
#include <cstdint>
#include <string>

struct ComicPage
{
    int32_t picture = 0; // 0 ends the table
    std::string textKey;
};

// Seven pages shown on the way into the game.
extern const ComicPage OpeningComicPages[8];
// Two pages shown once the campaign is complete.
extern const ComicPage FinalComicPages[3];

// The picture's resource name ("IMAGE_COMIC1"); empty for an id outside the table.
[[nodiscard]] std::string ComicPictureName(int32_t picture);
