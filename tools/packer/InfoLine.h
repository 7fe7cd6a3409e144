#pragma once
// The update line "R <lowest> <highest> <url>" of the update-information
// file, checked the way the checker will read it.
#include <string>

namespace packer {

// "" when the three fields make a line the checker accepts, else the reason.
std::string CheckUpdateLine(const std::string& lowest, const std::string& highest, const std::string& url);

// Appends the line to the information file (created when missing), after a
// line break when the file does not end with one. Lines end with CR LF.
bool AppendUpdateLine(const std::string& infoFile, const std::string& lowest, const std::string& highest,
                      const std::string& url, std::string* error);

}  // namespace packer
