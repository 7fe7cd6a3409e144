#pragma once
// The update line "R <lowest> <highest> <url>" of the update-information
// file, checked the way the checker will read it.
#include <string>
#include <vector>

namespace packer {

// "" when the three fields make a line the checker accepts, else the reason.
std::string CheckUpdateLine(const std::string& lowest, const std::string& highest, const std::string& url);

// What writing the update line did to the information file.
struct InfoChange {
  bool replaced = false;  // a line with the same range was replaced in place
  int dropped = 0;        // further lines with that range, removed
  // Update lines that come before the new one and share versions with its
  // range: the checker takes the first line that applies, so these win.
  std::vector<std::string> shadowing;
};

// The information file's text with the update line written into it: a line
// with the same range is replaced where it stands (later ones with that
// range are dropped), otherwise the line is appended. Lines are read as the
// checker reads them and written with CR LF.
std::string MergeUpdateLine(const std::string& text, const std::string& lowest, const std::string& highest,
                            const std::string& url, InfoChange* change);

// MergeUpdateLine on the file (created when missing).
bool WriteUpdateLine(const std::string& infoFile, const std::string& lowest, const std::string& highest,
                     const std::string& url, InfoChange* change, std::string* error);

}  // namespace packer
