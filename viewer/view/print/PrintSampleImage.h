#pragma once
// Samples printed as pictures. Wine's PostScript driver crashes when it
// downloads a font with CFF outlines (no 'glyf' table) to the printer; under
// Wine such a sample is rendered into a bitmap at the printer's resolution
// and printed as an image, so the driver never sees the font. Elsewhere, and
// for TrueType outlines, the sample is printed as text.
#include <windows.h>

#include <string>

// True when this process runs under Wine (its ntdll exports wine_get_version).
bool RunningUnderWine();

// True when font, selected into dc, has TrueType outlines.
bool HasTrueTypeOutlines(HDC dc, HFONT font);

// True when a sample in font is to be printed as an image on output: a real
// printer (not a preview's metafile), under Wine, a font without TrueType
// outlines.
bool PrintsSampleAsImage(HDC output, HDC attrib, HFONT font);

// Renders text in font (sized for the printer) in colour ink into a
// two-colour bitmap of the printer's resolution and prints it with its top
// left corner at (x, y). False when the bitmap could not be made.
bool PrintTextAsImage(HDC output, HFONT font, int x, int y, const std::string& text, COLORREF ink);
