// contactsheet: renders every image of the game's manifest, each cel of each strip, onto
// 1024 x 768 pages on the 2D path, read from main.pak as the game reads it.
//   contactsheet <game folder> <table> <out folder> --password TEXT
// Writes <out folder>/contact_01.png and on (the ids written under the images in the manifest's
// FONT_FNT3), and preview.png, the art put together like a play screen.
#include "tools/contactsheet/ContactSheet.h"
#include "tools/resgen/ResourceTable.h"

#include "framework/display/MemoryImage.h"
#include "framework/files/PakInterface.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/ImageFontFactory.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

using namespace Quoll;

namespace
{
// Sounds are not shown: every one is taken as loaded.
class IgnoredSounds : public SoundLoader
{
public:
    int GetFreeSoundId() override { return mNext < 4096 ? mNext : -1; }
    bool LoadSound(unsigned id, const std::string&) override { return mNext = static_cast<int>(id) + 1, true; }
    bool SetBaseVolume(unsigned, double) override { return true; }
    bool SetBasePan(unsigned, int) override { return true; }
    void ReleaseSound(unsigned) override {}

private:
    int mNext = 0;
};
} // namespace

int main(int argc, char** argv)
{
    if (argc != 6 || std::string(argv[4]) != "--password")
    {
        std::fprintf(stderr, "usage: contactsheet <game folder> <table> <out folder> --password TEXT\n");
        return 2;
    }
    const std::filesystem::path out = std::filesystem::absolute(argv[3]);
    std::ifstream tableFile(argv[2], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(tableFile)), {});
    std::vector<ResGen::Entry> table;
    std::string error;
    if (!ResGen::ParseTable(text, table, error))
    {
        std::fprintf(stderr, "contactsheet: %s: %s\n", argv[2], error.c_str());
        return 1;
    }
    if (::chdir(argv[1]) != 0)
    {
        std::fprintf(stderr, "contactsheet: cannot enter %s\n", argv[1]);
        return 1;
    }
    GetPakInterface()->SetPassword(argv[5]);
    GetPakInterface()->MountPakFile("main.pak");

    IgnoredSounds sounds;
    ImageFontFactory fonts;
    int pages = 0;
    {
        ResourceManager manager;
        manager.SetSoundLoader(&sounds);
        manager.SetFontFactory(&fonts);
        if (!manager.ParseResourcesFile("data/resources.xml"))
        {
            std::fprintf(stderr, "contactsheet: cannot read data/resources.xml\n");
            return 1;
        }
        std::set<std::string> groups;
        for (const ResGen::Entry& entry : table)
            groups.insert(entry.group);
        for (const std::string& group : groups)
            if (!manager.LoadResources(group))
            {
                std::fprintf(stderr, "contactsheet: the group %s does not load\n", group.c_str());
                return 1;
            }
        std::vector<ContactSheet::Entry> images;
        for (const ResGen::Entry& entry : table)
            if (entry.kind == ResGen::Kind::Image)
                images.push_back({entry.name.substr(6), manager.GetImageThrow(entry.name)});
        ContactSheet::SortForPacking(images);
        std::filesystem::create_directories(out);
        if (!ContactSheet::Render(images, manager.GetFontThrow("FONT_FNT3"), out.string(), pages))
        {
            std::fprintf(stderr, "contactsheet: cannot write the pages into %s\n", out.c_str());
            return 1;
        }
        auto find = [](const std::string& id, void* context) -> Image* {
            try
            {
                return static_cast<ResourceManager*>(context)->GetImageThrow(id);
            }
            catch (const ResourceManagerException&)
            {
                return nullptr;
            }
        };
        if (!ContactSheet::RenderPreview(find, &manager, manager.GetFontThrow("FONT_LABEL"),
                                         manager.GetFontThrow("FONT_FNT2"), out.string()))
        {
            std::fprintf(stderr, "contactsheet: cannot write the preview into %s\n", out.c_str());
            return 1;
        }
    }
    std::printf("contactsheet: %d pages in %s\n", pages, out.c_str());
    return 0;
}
