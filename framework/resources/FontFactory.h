#pragma once
// How the resource manager makes the fonts of "Font" resources: the fonts area implements it
// and installs it with ResourceManager::SetFontFactory. It may be called from the loading
// thread.
#include <map>
#include <string>

namespace Quoll
{
class Font;

class FontFactory
{
public:
    virtual ~FontFactory() = default;
    // A new font from the resource's path and manifest attributes; null with a reason in
    // error when it cannot be made.
    virtual Font* CreateFont(const std::string& path, const std::map<std::string, std::string>& attributes,
                             std::string& error) = 0;
    virtual void DestroyFont(Font* font) = 0;
};
} // namespace Quoll
