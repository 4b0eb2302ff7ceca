#pragma once
// The fonts of the resource manager's "Font" resources: bitmap fonts read from their
// descriptor files. Installed with ResourceManager::SetFontFactory by the program; safe on the
// loading thread.
#include "framework/resources/FontFactory.h"

namespace Quoll
{
class ImageFontFactory final : public FontFactory
{
public:
    Font* CreateFont(const std::string& path, const std::map<std::string, std::string>& attributes,
                     std::string& error) override;
    void DestroyFont(Font* font) override;
};
} // namespace Quoll
