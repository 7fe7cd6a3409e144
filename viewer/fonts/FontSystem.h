#pragma once
// What the font catalogue needs from the operating system: the list of font
// faces with one entry per character set, and the loading and unloading of
// font files for the running session. The Win32 implementation is in
// Win32FontSystem.h; tests script their own. Portable: no windows.h.
#include <functional>
#include <string>

// One enumeration entry: a face in one character set.
struct FontEntry {
  std::string faceName;
  unsigned char charset = 0;
  int weight = 0;
  unsigned char italic = 0;  // the entry's italic byte as reported
  std::string styleName;     // "Regular", "Italic", ...; may be empty
};

class FontSystem {
 public:
  virtual ~FontSystem() = default;

  // Reports every face of the screen once per character set it supports.
  virtual void EnumerateFaces(const std::function<void(const FontEntry&)>& sink) = 0;

  // Number of faces the file brought (0 when refused), as AddFontResourceA.
  virtual int LoadFontFile(const std::string& path) = 0;

  // Non-zero when the file was unloaded, as RemoveFontResourceA.
  virtual int UnloadFontFile(const std::string& path) = 0;
};
