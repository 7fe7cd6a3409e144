#pragma once
// The font system of the running Windows session: faces of the screen device
// context, AddFontResourceA and RemoveFontResourceA.
#include <windows.h>

#include "fonts/FontList.h"
#include "fonts/FontSystem.h"

class Win32FontSystem final : public FontSystem {
 public:
  // EnumFontFamiliesExA with DEFAULT_CHARSET and no face name: every face
  // once per character set, fonts of every type.
  void EnumerateFaces(const std::function<void(const FontEntry&)>& sink) override;
  int LoadFontFile(const std::string& path) override;
  int UnloadFontFile(const std::string& path) override;
};

// The session's font system, for the catalogue of the view.
FontSystem& SystemFontSystem();

// LOGFONTA from the catalogue's record: zeroed, then height, weight, italic,
// character set and face name.
void ToLogFontA(const FontLogFont& source, LOGFONTA& lf);

// CFontList::GetLogFont straight into a LOGFONTA (height 0: set it before
// CreateFontIndirectA).
void FillLogFontA(const CFontList& fonts, int index, LOGFONTA& lf);
