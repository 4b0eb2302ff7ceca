#pragma once
// A minimal data set the game starts on: texts in two locales, a manifest with the "Fonts"
// group (FONT_FNT1, a bitmap font baked at build time) and the "PreInterface" group of small
// synthetic TGA images (the cursor images among them), and nothing else, so that the optional
// files (game configuration, music, animations) are missing.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ShellTest
{
inline void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// An uncompressed 32-bit TGA, top row first, filled with one colour (0xAARRGGBB).
inline void WriteTga(const std::filesystem::path& path, int width, int height, uint32_t argb)
{
    std::vector<uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8), 32, 0x28};
    for (int i = 0; i < width * height; ++i)
        for (int shift : {0, 8, 16, 24})
            bytes.push_back(uint8_t(argb >> shift));
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline const char* MinimalTexts()
{
    return R"(<?xml version="1.0" encoding="utf-8"?>
<texts>
  <locale id="0" name="en"/>
  <locale id="1" name="de"/>
  <group name="ui">
    <text name="UI_WINDOWTITLE">
      <value locale="en">PetriGlow Saga</value>
      <value locale="de">PetriGlow Saga (de)</value>
    </text>
    <text name="UI_SAVE_FAILED_TITLE"><value locale="en">Not saved</value></text>
    <text name="UI_SAVE_FAILED"><value locale="en">%ls could not be saved in the folder %ls.</value></text>
    <text name="UI_SAVE_WHAT_PROGRESS"><value locale="en">Your progress</value></text>
  </group>
  <group name="framework">
    <text name="FATAL_ERROR"><value locale="en">FATAL ERROR</value><value locale="de">SCHWERER FEHLER</value></text>
  </group>
</texts>
)";
}

inline const char* MinimalManifest()
{
    return R"(<?xml version="1.0" encoding="utf-8"?>
<ResourceManifest>
  <Resources id="Fonts">
    <Font id="FONT_FNT1" path="data/fonts/fnt1.txt"/>
  </Resources>
  <Resources id="PreInterface">
    <SetDefaults path="data/art/textures/interface" idprefix="IMAGE_"/>
    <Image id="CURSOR" path="cursor.tga"/>
    <Image id="CURSOR_HAND" path="cursor_hand.tga"/>
    <Image id="PROGRESS_FILL" path="progress_fill.tga" cols="2"/>
  </Resources>
</ResourceManifest>
)";
}

// Writes the set under folder/data.
inline void WriteMinimalGameData(const std::filesystem::path& folder)
{
    WriteText(folder / "data/texts.xml", MinimalTexts());
    WriteText(folder / "data/resources.xml", MinimalManifest());
    std::filesystem::create_directories(folder / "data/fonts");
    for (const char* name : {"fnt1.txt", "fnt1.png"})
        std::filesystem::copy_file(std::filesystem::path(QUOLL_SHELL_FONT_DIR) / name, folder / "data/fonts" / name,
                                   std::filesystem::copy_options::overwrite_existing);
    WriteTga(folder / "data/art/textures/interface/cursor.tga", 8, 8, 0xFF20C040);
    WriteTga(folder / "data/art/textures/interface/cursor_hand.tga", 8, 8, 0xFF40C020);
    WriteTga(folder / "data/art/textures/interface/progress_fill.tga", 16, 4, 0x80FF0000);
}
} // namespace ShellTest
