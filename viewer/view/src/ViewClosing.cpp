// The frame's last word to the view before it closes: temporary fonts and
// the settings.
#include "view/GlimraView.h"

namespace {

const char kReleaseQuestion[] =
    "一時インストールしたフォントを解除しますか？\r\n「いいえ」を選ぶとコンピュータを再起動するまでそのフォントが使用可"
    "能です.";

}  // namespace

LRESULT CGlimraView::OnClosing(WPARAM, LPARAM) {
  if (!loadedFiles_.empty() && ::MessageBoxA(m_hWnd, kReleaseQuestion, host_.Title().c_str(), MB_YESNO) == IDYES)
    RemoveTemporaryFonts();
  SaveSettings();
  return 0;
}

void CGlimraView::RemoveTemporaryFonts() {
  for (const std::string& path : loadedFiles_.Paths()) fonts_.RemoveTempFontFile(path);
  loadedFiles_.Clear();
  fonts_.Rebuild(true);
}
