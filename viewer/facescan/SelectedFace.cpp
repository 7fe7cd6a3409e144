#include "facescan/SelectedFace.h"

namespace facescan {

namespace {

HFONT CreateFaceFont(const std::string& face) {
  LOGFONTA lf{};
  lf.lfHeight = -16;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

}  // namespace

SelectedFace::SelectedFace(const std::string& face)
    : dc_(CreateCompatibleDC(nullptr)), font_(CreateFaceFont(face)), tables_(dc_.Get()) {
  if (face.empty() || face.size() >= LF_FACESIZE) {
    error_ = "not a face name";
    return;
  }
  if (!dc_ || !font_) {
    error_ = "no device context or font";
    return;
  }
  old_ = SelectObject(dc_, font_);
  char selected[LF_FACESIZE] = {};
  GetTextFaceA(dc_, LF_FACESIZE, selected);
  if (lstrcmpiA(selected, face.c_str()) != 0) error_ = "the face is not installed";
}

SelectedFace::~SelectedFace() {
  if (old_) SelectObject(dc_, old_);
}

fonttables::Result<coverage::FaceReport> MeasureInstalledFace(const std::string& face) {
  SelectedFace selected(face);
  if (!selected.Ok()) return fonttables::Result<coverage::FaceReport>::Fail(selected.Error());
  return coverage::MeasureFace(selected.Tables());
}

}  // namespace facescan
