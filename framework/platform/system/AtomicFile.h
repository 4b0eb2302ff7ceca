#pragma once
// Whole-file reads and crash-safe whole-file writes: the bytes go to a temporary file
// beside the target, are flushed to the disk and renamed over it, so an interrupted or
// failed write leaves the old file as it was.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace Quoll::Platform
{
// False (with a log line naming the path) when any step fails; the target is untouched then.
[[nodiscard]] bool WriteFileAtomically(std::string_view path, std::span<const uint8_t> bytes);
// Removes the temporary files that writes of this target left when their process was killed
// (those of running processes stay); returns how many went. Every write does this first.
size_t RemoveStaleTemporaryFiles(std::string_view path);
std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view path);
} // namespace Quoll::Platform
