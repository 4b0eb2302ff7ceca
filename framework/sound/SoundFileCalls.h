#pragma once
// Plain-file stand-ins for the pack-file calls of framework/resources/PakInterface.h, with the
// same names and arguments, over the C runtime (paths with '\' and in any letter case, as the
// platform resolves them). SoundFile.cpp picks its calls with one
// namespace alias, so pointing that alias at Quoll (the pack calls) is the only change needed
// to read sounds from the pack file.
#include "framework/platform/Path.h"

#include <cstdio>
#include <string>

namespace Quoll::CRuntimeFiles
{
using PakFileHandle = std::FILE;

inline PakFileHandle* PakFOpen(const std::string& path, const char* mode = "rb")
{
    return Platform::OpenFile(path, mode);
}
inline PakFileHandle* PakFOpenMemory(const void* data, size_t size)
{
    return size == 0 ? nullptr : fmemopen(const_cast<void*>(data), size, "rb");
}
inline size_t PakFRead(void* buffer, size_t size, size_t count, PakFileHandle* handle)
{
    return std::fread(buffer, size, count, handle);
}
inline int PakFSeek(PakFileHandle* handle, long offset, int origin)
{
    return std::fseek(handle, offset, origin);
}
inline long PakFTell(PakFileHandle* handle) { return std::ftell(handle); }
inline int PakFClose(PakFileHandle* handle) { return std::fclose(handle); }
} // namespace Quoll::CRuntimeFiles
