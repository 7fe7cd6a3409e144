#pragma once
// Test fonts made from an installed TrueType file: a copy whose faces carry
// a new name (so that it is not already present in the session), and a
// collection (.ttc) of several such copies.
#include <string>
#include <vector>

using FontBytes = std::vector<unsigned char>;

// The file's bytes, or empty when it cannot be read.
FontBytes ReadFontFile(const std::string& path);
bool WriteFontFile(const std::string& path, const FontBytes& bytes);

// The font with its naming table replaced by one that names the family
// `family` (ASCII), style Regular. Empty when the input is no TrueType font.
FontBytes RenameFamily(const FontBytes& font, const std::string& family);

// A TrueType collection holding the given fonts in order.
FontBytes MakeCollection(const std::vector<FontBytes>& fonts);
