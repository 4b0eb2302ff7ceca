#pragma once
// Reads a screen dump in the X window dump format (as "xwd -root" writes it) into 0xAARRGGBB
// pixels: true-colour visuals of 16, 24 or 32 bits per pixel in either byte order. Every
// length is checked against the file before it is used.
#include <cstdint>
#include <string>
#include <vector>

struct XwdPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// False, with the reason in error, when the file cannot be read or is not a supported dump.
bool ReadXwd(const std::string& path, XwdPicture& picture, std::string& error);
