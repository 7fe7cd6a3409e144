#include "AboutDlg.h"

#include <cstdio>
#include <vector>

#include "DialogIds.h"

const char* const kMakerSite = "http://www.vanto.example/";

std::string ShortVersion(const char* fileVersion) {
  long parts[4] = {};
  if (!fileVersion || std::sscanf(fileVersion, "%ld,%ld,%ld,%ld", &parts[0], &parts[1], &parts[2], &parts[3]) < 3) {
    return "";
  }
  char text[64];
  std::snprintf(text, sizeof text, "%ld.%ld.%ld", parts[0], parts[1], parts[2]);
  return text;
}

CAboutDlg::CAboutDlg(fw::CWnd* parent) : fw::CDialog(IDD_ABOUTBOX, parent) {}

namespace {

// A string of the version resource block, or null.
const char* QueryString(std::vector<char>& block, const std::string& path) {
  void* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block.data(), path.c_str(), &value, &length) || !value || length == 0) return nullptr;
  return static_cast<const char*>(value);
}

}  // namespace

bool CAboutDlg::OnInitDialog() {
  m_link.SubclassLink(IDC_MAKER_LINK, this);

  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(m_programFile.c_str(), &handle);
  if (size == 0) return true;
  std::vector<char> block(size);
  if (!::GetFileVersionInfoA(m_programFile.c_str(), 0, size, block.data())) return true;

  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      !translation || length < sizeof(Translation)) {
    ::MessageBoxA(m_hWnd, fw::LoadText(IDS_ABOUT_NO_VERSION).c_str(), fw::LoadText(IDS_ERROR_CAPTION).c_str(), MB_OK);
    return true;
  }
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);

  if (const char* version = QueryString(block, std::string(prefix) + "FileVersion")) {
    ::SetDlgItemTextA(m_hWnd, IDC_VERSION, ShortVersion(version).c_str());
  }
  if (const char* company = QueryString(block, std::string(prefix) + "CompanyName")) {
    m_link.SetWindowText(company);
    m_link.SetURL(kMakerSite);
  }
  return true;
}
