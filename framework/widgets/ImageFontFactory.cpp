#include "framework/widgets/ImageFontFactory.h"

#include "framework/widgets/ImageFont.h"

namespace Quoll
{
Font* ImageFontFactory::CreateFont(const std::string& path, const std::map<std::string, std::string>&,
                                   std::string& error)
{
    return ImageFont::Load(path, error).release();
}

void ImageFontFactory::DestroyFont(Font* font)
{
    delete font;
}
} // namespace Quoll
