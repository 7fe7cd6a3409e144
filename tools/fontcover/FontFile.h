#pragma once
// A font file read whole, and the faces it holds.
#include <cstdint>
#include <string>
#include <vector>

#include "fonttables/Sfnt.h"

namespace fontcover {

// Refuses files larger than this: no font comes near it.
constexpr std::uint64_t kMaxFileSize = std::uint64_t{1} << 30;

// The whole file, or the reason it could not be read. `path` is UTF-8.
fonttables::Result<std::vector<std::uint8_t>> ReadFile(const std::string& path);

}  // namespace fontcover
