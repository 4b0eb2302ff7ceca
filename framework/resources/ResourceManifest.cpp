#include "framework/resources/ResourceManifest.h"

#include "framework/core/Common.h"
#include "framework/files/XMLParser.h"

#include <set>

namespace Quoll
{
namespace
{
constexpr int kMaxGrid = 4096;
constexpr int kMaxDelay = 3600000;

// Builds the descriptions while the parser walks the file; every failure names its line.
class ManifestReader
{
public:
    explicit ManifestReader(XMLParser& parser) : mParser(parser) {}

    bool Read(std::vector<ResourceGroupDescription>& groups);
    [[nodiscard]] const std::string& GetError() const { return mError; }

private:
    bool Fail(const std::string& message)
    {
        mError = message + " on Line " + std::to_string(mParser.GetCurrentLineNum());
        return false;
    }
    bool OnStart(const XMLElement& element, std::vector<ResourceGroupDescription>& groups);
    bool ReadResource(ResourceType type, const std::map<std::string, std::string>& attributes);
    bool ReadImageAttributes(ResourceDescription& res);
    bool ReadSoundAttributes(ResourceDescription& res);
    bool Integer(const ResourceDescription& res, const char* name, int low, int high, int& out);
    bool IntegerList(const ResourceDescription& res, const char* name, int low, int high, std::vector<int>& out);

    XMLParser& mParser;
    std::string mError;
    int mDepth = 0;
    ResourceGroupDescription* mGroup = nullptr;
    std::string mPathPrefix;
    std::string mIdPrefix;
    std::set<std::pair<ResourceType, std::string>> mIds;
};

std::map<std::string, std::string> NarrowAttributes(const XMLElement& element)
{
    std::map<std::string, std::string> attributes;
    for (const auto& [name, value] : element.mAttributes)
        attributes[WStringToString(name)] = WStringToString(value);
    return attributes;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return text;
}

bool ManifestReader::Read(std::vector<ResourceGroupDescription>& groups)
{
    for (const auto& group : groups)
        for (const auto& res : group.resources)
            mIds.emplace(res.type, res.id);
    XMLElement element;
    bool sawRoot = false;
    while (mParser.NextElement(&element))
    {
        if (element.mType == XMLElement::Type::Start)
        {
            if (mDepth == 0 && (sawRoot || element.mValue != L"ResourceManifest"))
                return Fail("Expected one <ResourceManifest> element");
            sawRoot = true;
            if (mDepth > 0 && !OnStart(element, groups))
                return false;
            ++mDepth;
        }
        else if (element.mType == XMLElement::Type::End)
        {
            --mDepth;
            if (mDepth == 1)
                mGroup = nullptr;
        }
        else if (element.mType == XMLElement::Type::Text)
            return Fail("Unexpected text");
    }
    if (mParser.HasFailed())
        return mError = mParser.GetErrorText(), false;
    return sawRoot || Fail("No <ResourceManifest> element");
}

bool ManifestReader::OnStart(const XMLElement& element, std::vector<ResourceGroupDescription>& groups)
{
    const std::string name = WStringToString(element.mValue);
    const auto attributes = NarrowAttributes(element);
    if (mDepth == 1)
    {
        if (name != "Resources")
            return Fail("Expected <Resources>, found <" + name + ">");
        const auto id = attributes.find("id");
        if (id == attributes.end() || id->second.empty())
            return Fail("<Resources> without an id");
        for (const auto& group : groups)
            if (group.name == id->second)
                return Fail("Resource group defined twice: " + id->second);
        groups.push_back({id->second, {}});
        mGroup = &groups.back();
        mPathPrefix.clear();
        mIdPrefix.clear();
        return true;
    }
    if (mDepth > 2)
        return Fail("<" + name + "> inside a resource");
    if (name == "SetDefaults")
    {
        mPathPrefix = attributes.count("path") ? attributes.at("path") : "";
        mIdPrefix = attributes.count("idprefix") ? attributes.at("idprefix") : "";
        return true;
    }
    if (name == "Image")
        return ReadResource(ResourceType::Image, attributes);
    if (name == "Sound")
        return ReadResource(ResourceType::Sound, attributes);
    if (name == "Font")
        return ReadResource(ResourceType::Font, attributes);
    return Fail("Unknown element <" + name + ">");
}

bool ManifestReader::ReadResource(ResourceType type, const std::map<std::string, std::string>& attributes)
{
    ResourceDescription res;
    res.type = type;
    res.attributes = attributes;
    res.line = mParser.GetCurrentLineNum();
    const auto id = attributes.find("id");
    const auto path = attributes.find("path");
    if (id == attributes.end() || id->second.empty() || path == attributes.end() || path->second.empty())
        return Fail("A resource needs an id and a path");
    res.id = mIdPrefix + id->second;
    res.path = mPathPrefix.empty() ? path->second : mPathPrefix + "/" + path->second;
    if (!mIds.emplace(type, res.id).second)
        return Fail("Resource defined twice: " + res.id);
    if (type == ResourceType::Image && !ReadImageAttributes(res))
        return false;
    if (type == ResourceType::Sound && !ReadSoundAttributes(res))
        return false;
    mGroup->resources.push_back(std::move(res));
    return true;
}

bool ManifestReader::Integer(const ResourceDescription& res, const char* name, int low, int high, int& out)
{
    const auto it = res.attributes.find(name);
    if (it == res.attributes.end())
        return true;
    int value = 0;
    if (!StringToInt(it->second, value) || value < low || value > high)
        return Fail(std::string("Bad ") + name + " of " + res.id + ": " + it->second);
    out = value;
    return true;
}

bool ManifestReader::IntegerList(const ResourceDescription& res, const char* name, int low, int high,
                                 std::vector<int>& out)
{
    const auto it = res.attributes.find(name);
    if (it == res.attributes.end())
        return true;
    std::string item;
    for (size_t i = 0; i <= it->second.size(); ++i)
    {
        const char c = i < it->second.size() ? it->second[i] : ',';
        if (c != ',' && c != ' ')
        {
            item.push_back(c);
            continue;
        }
        if (item.empty())
            continue;
        int value = 0;
        if (!StringToInt(item, value) || value < low || value > high)
            return Fail(std::string("Bad ") + name + " of " + res.id + ": " + it->second);
        out.push_back(value);
        item.clear();
    }
    return true;
}

bool ManifestReader::ReadImageAttributes(ResourceDescription& res)
{
    ImageDescription& image = res.image;
    if (!Integer(res, "rows", 1, kMaxGrid, image.rows) || !Integer(res, "cols", 1, kMaxGrid, image.cols) ||
        !Integer(res, "framedelay", 0, kMaxDelay, image.frameDelay) ||
        !Integer(res, "begindelay", 0, kMaxDelay, image.beginDelay) ||
        !Integer(res, "enddelay", 0, kMaxDelay, image.endDelay) ||
        !IntegerList(res, "perframedelay", 0, kMaxDelay, image.perFrameDelay) ||
        !IntegerList(res, "framemap", 0, image.rows * image.cols - 1, image.frameMap))
        return false;
    for (const char* name : {"anim", "framedelay", "begindelay", "enddelay", "perframedelay", "framemap"})
        image.animated = image.animated || res.attributes.count(name) != 0;
    const auto anim = res.attributes.find("anim");
    if (anim == res.attributes.end())
        return true;
    static const std::map<std::string, AnimType> kTypes = {
        {"none", AnimType::None}, {"once", AnimType::Once}, {"pingpong", AnimType::PingPong}, {"loop", AnimType::Loop}};
    const auto type = kTypes.find(Lower(anim->second));
    if (type == kTypes.end())
        return Fail("Bad anim of " + res.id + ": " + anim->second);
    image.animType = type->second;
    return true;
}

bool ManifestReader::ReadSoundAttributes(ResourceDescription& res)
{
    if (!Integer(res, "pan", -10000, 10000, res.pan))
        return false;
    const auto volume = res.attributes.find("volume");
    if (volume != res.attributes.end() &&
        (!StringToDouble(volume->second, res.volume) || res.volume < 0.0 || res.volume > 1.0))
        return Fail("Bad volume of " + res.id + ": " + volume->second);
    return true;
}
} // namespace

bool ParseResourceManifest(const std::string& fileName, std::vector<ResourceGroupDescription>& groups,
                           std::string& error)
{
    XMLParser parser;
    if (!parser.OpenFile(fileName))
        return error = parser.GetErrorText(), false;
    std::vector<ResourceGroupDescription> parsed = groups;
    ManifestReader reader(parser);
    if (!reader.Read(parsed))
        return error = fileName + ": " + reader.GetError(), false;
    groups = std::move(parsed);
    return true;
}
} // namespace Quoll
