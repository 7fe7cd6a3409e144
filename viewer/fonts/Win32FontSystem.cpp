#include "fonts/Win32FontSystem.h"

#include <cstring>
#include <exception>

#include "win/Gdi.h"

namespace {

struct EnumContext {
  const std::function<void(const FontEntry&)>* sink;
  std::exception_ptr failure;
};

int CALLBACK EnumFaceProc(const LOGFONTA* logFont, const TEXTMETRICA*, DWORD, LPARAM param) {
  auto* context = reinterpret_cast<EnumContext*>(param);
  // With EnumFontFamiliesExA the record is an ENUMLOGFONTEXA: the style name
  // follows the LOGFONT.
  const auto* full = reinterpret_cast<const ENUMLOGFONTEXA*>(logFont);
  try {
    FontEntry entry;
    entry.faceName.assign(logFont->lfFaceName, strnlen(logFont->lfFaceName, LF_FACESIZE));
    entry.charset = logFont->lfCharSet;
    entry.weight = logFont->lfWeight;
    entry.italic = logFont->lfItalic;
    entry.styleName.assign(reinterpret_cast<const char*>(full->elfStyle),
                           strnlen(reinterpret_cast<const char*>(full->elfStyle), LF_FACESIZE));
    (*context->sink)(entry);
    return 1;
  } catch (...) {
    // Never unwind through gdi32: stop the enumeration and rethrow after it.
    context->failure = std::current_exception();
    return 0;
  }
}

}  // namespace

void Win32FontSystem::EnumerateFaces(const std::function<void(const FontEntry&)>& sink) {
  EnumContext context{&sink, nullptr};
  const win::WindowDC screen(nullptr);
  if (!screen) return;
  LOGFONTA query;
  std::memset(&query, 0, sizeof query);
  query.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(screen, &query, reinterpret_cast<FONTENUMPROCA>(EnumFaceProc), reinterpret_cast<LPARAM>(&context),
                      0);
  if (context.failure) std::rethrow_exception(context.failure);
}

int Win32FontSystem::LoadFontFile(const std::string& path) { return AddFontResourceA(path.c_str()); }

int Win32FontSystem::UnloadFontFile(const std::string& path) { return RemoveFontResourceA(path.c_str()) ? 1 : 0; }

FontSystem& SystemFontSystem() {
  static Win32FontSystem system;
  return system;
}

void ToLogFontA(const FontLogFont& source, LOGFONTA& lf) {
  std::memset(&lf, 0, sizeof lf);
  lf.lfHeight = source.height;
  lf.lfWeight = source.weight;
  lf.lfItalic = source.italic;
  lf.lfCharSet = source.charset;
  static_assert(sizeof lf.lfFaceName == FontLogFont::kFaceSize);
  std::memcpy(lf.lfFaceName, source.faceName, sizeof lf.lfFaceName);
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
}

void FillLogFontA(const CFontList& fonts, int index, LOGFONTA& lf) {
  FontLogFont source;
  fonts.GetLogFont(index, source);
  ToLogFontA(source, lf);
}
