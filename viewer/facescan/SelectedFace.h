#pragma once
// One installed face selected into a memory DC of its own, so that its tables
// can be read through GetFontData on any thread. GDI silently substitutes
// another face for a name it does not know; that is caught here, because the
// tables of the substitute would be reported as the requested face's.
#include <windows.h>

#include <string>

#include "coverage/Coverage.h"
#include "fonttables/GdiTableSource.h"
#include "win/Gdi.h"

namespace facescan {

class SelectedFace {
 public:
  // `face` is a face name as GDI enumerates it (code page 932).
  explicit SelectedFace(const std::string& face);
  SelectedFace(const SelectedFace&) = delete;
  SelectedFace& operator=(const SelectedFace&) = delete;
  ~SelectedFace();

  // False when the face could not be selected as itself; Error() says why.
  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  // The face's tables (none when !Ok()).
  fonttables::TableSource& Tables() { return tables_; }

 private:
  win::CreatedDC dc_;
  win::GdiObject<HFONT> font_;
  HGDIOBJ old_ = nullptr;
  fonttables::GdiTableSource tables_;
  std::string error_;
};

// Names, coverage and vertical forms of one face, read on the calling thread.
fonttables::Result<coverage::FaceReport> MeasureInstalledFace(const std::string& face);

}  // namespace facescan
