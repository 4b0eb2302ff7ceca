#include "framework/display/MemoryImage.h"

namespace Quoll
{
MemoryImage::~MemoryImage() { delete[] mBits; }

void MemoryImage::CommitBits() {}

uint32_t* MemoryImage::GetBits() { return mBits; }
} // namespace Quoll
