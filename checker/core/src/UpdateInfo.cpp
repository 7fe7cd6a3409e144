#include "checker/UpdateInfo.h"

#include <vector>

#include "checker/SplitString.h"
#include "checker/Trace.h"
#include "common/Cp932.h"

namespace checker {

int CompareVersion(std::string_view a, std::string_view b) { return cp932::CompareNoCase(a, b); }

int FindUpdateLine(std::string_view text, std::string_view version, std::string& packageUrl) {
  std::vector<std::string> lines;
  SplitString(text, "\r\n", lines);
  std::vector<std::string> fields;
  for (const auto& line : lines) {
    if (line.empty() || line[0] == '#') continue;
    if (SplitString(line, " \t\r\n", fields) < 4) continue;
    StripQuotes(fields);
    Trace("info %s\n", line.c_str());
    if (!cp932::EqualsNoCase(fields[0], "R")) continue;
    if (CompareVersion(fields[1], version) <= 0 && CompareVersion(fields[2], version) >= 0) {
      packageUrl = fields[3];
      return 1;
    }
  }
  return 0;
}

int CheckUpdateInfo(const TextFetch& fetch, const std::string& infoUrl, const std::string& version,
                    std::string& packageUrl) {
  Trace("Connecting %s\n", infoUrl.c_str());
  std::string text;
  if (fetch(infoUrl, text) != 1) return -1;
  Trace("Update Check MyVer=%s\n", version.c_str());
  return FindUpdateLine(text, version, packageUrl);
}

}  // namespace checker
