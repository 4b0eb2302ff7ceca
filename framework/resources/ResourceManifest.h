#pragma once
// The resource manifest ("data\resources.xml"): groups of images, sounds and fonts, read into
// plain descriptions that the ResourceManager loads. The attributes are listed in
// framework/resources/MANIFEST.md.
#include "framework/display/AnimInfo.h"

#include <map>
#include <string>
#include <vector>

namespace Quoll
{
enum class ResourceType
{
    Image,
    Sound,
    Font,
};

struct ImageDescription
{
    int rows = 1;
    int cols = 1;
    bool animated = false; // any animation attribute given
    AnimType animType = AnimType::None;
    int frameDelay = 1;
    int beginDelay = 0;
    int endDelay = 0;
    std::vector<int> perFrameDelay;
    std::vector<int> frameMap;
};

struct ResourceDescription
{
    ResourceType type = ResourceType::Image;
    std::string id;   // with the group's id prefix
    std::string path; // with the group's path prefix
    int line = 0;     // in the manifest
    // Every attribute as written (UTF-8), for fonts and for messages.
    std::map<std::string, std::string> attributes;
    ImageDescription image;
    double volume = 1.0; // sounds: base volume 0..1
    int pan = 0;         // sounds: base pan -10000..10000
};

struct ResourceGroupDescription
{
    std::string name;
    std::vector<ResourceDescription> resources;
};

// Reads the manifest through the pack-file layer. On any error (unreadable file, malformed
// XML, unknown element or attribute value, missing id or path, an id repeated within its
// kind) returns false with a message ending in " on Line N", and groups is unchanged.
bool ParseResourceManifest(const std::string& fileName, std::vector<ResourceGroupDescription>& groups,
                           std::string& error);
} // namespace Quoll
