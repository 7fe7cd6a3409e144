// The frame's last word to the view before it closes: temporary fonts and
// the settings.
#include "res/ResourceIds.h"
#include "view/GlimraView.h"

LRESULT CGlimraView::OnClosing(WPARAM, LPARAM) {
  if (!loadedFiles_.empty() &&
      ::MessageBoxA(m_hWnd, fw::LoadText(IDS_RELEASE_QUESTION).c_str(), host_.Title().c_str(), MB_YESNO) == IDYES)
    RemoveTemporaryFonts();
  SaveSettings();
  return 0;
}

void CGlimraView::RemoveTemporaryFonts() {
  for (const std::string& path : loadedFiles_.Paths()) fonts_.RemoveTempFontFile(path);
  loadedFiles_.Clear();
  fonts_.Rebuild(true);
}
