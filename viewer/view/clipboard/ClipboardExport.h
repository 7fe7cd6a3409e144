#pragma once
// The view's two clipboard commands: the selected sample as text, RTF and an
// enhanced metafile, and the selected face name as text. A clipboard that
// another program holds makes both do nothing, silently.
#include <windows.h>

#include <string>
#include <string_view>

class CFontList;

// Everything one sample copy needs, read from the catalogue beforehand.
struct SampleExport {
  std::string sample;  // as the face's character set shows it
  std::string faceName;
  int sizeTenths = 0;  // sample size in tenths of a point
  int charset = 0;
  int weight = 0;
  LOGFONTA logFont{};  // the face; the height is set here
};

// The three formats; false (nothing copied) when the clipboard stays busy.
bool CopySampleToClipboard(HWND owner, const SampleExport& sample);
// CF_TEXT only; false when the clipboard stays busy.
bool CopyTextToClipboard(HWND owner, std::string_view text);

// The sample drawn at its point size in a memory enhanced metafile, one
// logical unit a tenth of a point; its frame gets a margin of a twentieth of
// its height at the right and the bottom. Null when it cannot be made.
HENHMETAFILE BuildSampleMetafile(const LOGFONTA& face, std::string_view sample, int sizeTenths);

// Commands 57634 and 32774 on the catalogue's visible row. A negative row
// copies nothing; a row outside the list raises fw::InvalidArgumentError
// before the clipboard is touched.
bool CopySelectedSample(HWND owner, const CFontList& fonts, int row, const std::string& sampleText, int sizeTenths);
bool CopySelectedFontName(HWND owner, const CFontList& fonts, int row);
