#include "InfoLine.h"

#include <cstdio>
#include <cstdlib>

#include "checker/SplitString.h"
#include "checker/UpdateInfo.h"
#include "common/Cp932.h"

namespace packer {
namespace {

// The checker splits lines at spaces and tabs and treats '"' as a quote;
// such characters would change the fields it sees.
bool HasSeparators(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); i = cp932::Next(s, i)) {
    if (cp932::IsDoubleByteAt(s, i)) continue;
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c <= ' ' || c == '"' || c == 0x7F) return true;
  }
  return false;
}

}  // namespace

std::string CheckUpdateLine(const std::string& lowest, const std::string& highest, const std::string& url) {
  if (lowest.empty() || highest.empty()) return "the versions must not be empty";
  if (HasSeparators(lowest) || HasSeparators(highest)) return "a version must not contain spaces, tabs or quotes";
  // Versions are compared as text, so "2000" would sort after "02001".
  if (lowest.size() != highest.size()) return "both versions must have the same number of digits";
  if (cp932::CompareNoCase(lowest, highest) > 0) return "the lowest version is greater than the highest";
  if (HasSeparators(url)) return "the address must not contain spaces, tabs or quotes";
  const std::string scheme = "http://";
  if (url.compare(0, scheme.size(), scheme) != 0) return "the address must begin with \"http://\" (lower case)";
  std::string rest = url.substr(scheme.size());
  std::size_t slash = rest.find('/');
  std::string hostPort = rest.substr(0, slash);
  // The checker takes the first ':' after "://" as the port colon, wherever
  // it stands.
  std::size_t colon = rest.find(':');
  if (colon != std::string::npos && (slash != std::string::npos && colon > slash))
    return "the address must not contain ':' after the host";
  std::string host = hostPort.substr(0, colon == std::string::npos ? hostPort.size() : colon);
  if (host.empty()) return "the address has no host";
  if (colon != std::string::npos) {
    std::string port = hostPort.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos ||
        std::atoi(port.c_str()) < 1 || std::atoi(port.c_str()) > 65535)
      return "the port must be a number from 1 to 65535";
  }
  if (slash == std::string::npos || slash + 1 >= rest.size()) return "the address has no file path";
  return std::string();
}

std::string MergeUpdateLine(const std::string& text, const std::string& lowest, const std::string& highest,
                            const std::string& url, InfoChange* change) {
  const std::string newLine = "R " + lowest + " " + highest + " " + url;
  std::string out;
  bool written = false;
  std::vector<std::string> fields;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find_first_of("\r\n", at);
    std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = end == std::string::npos ? text.size() : end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    bool update = !line.empty() && line[0] != '#' && checker::SplitString(line, " \t", fields) >= 4;
    if (update) checker::StripQuotes(fields);
    if (update && cp932::EqualsNoCase(fields[0], "R")) {
      using checker::CompareVersion;
      if (CompareVersion(fields[1], lowest) == 0 && CompareVersion(fields[2], highest) == 0) {
        if (written) {
          ++change->dropped;
          continue;
        }
        change->replaced = written = true;
        out += newLine + "\r\n";
        continue;
      }
      if (!written && CompareVersion(fields[1], highest) <= 0 && CompareVersion(fields[2], lowest) >= 0)
        change->shadowing.push_back(line);
    }
    out += line + "\r\n";
  }
  if (!written) out += newLine + "\r\n";
  return out;
}

bool WriteUpdateLine(const std::string& infoFile, const std::string& lowest, const std::string& highest,
                     const std::string& url, InfoChange* change, std::string* error) {
  std::string problem = CheckUpdateLine(lowest, highest, url);
  if (!problem.empty()) {
    *error = problem;
    return false;
  }
  std::string text;
  if (std::FILE* f = std::fopen(infoFile.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
  }
  std::string merged = MergeUpdateLine(text, lowest, highest, url, change);
  std::FILE* f = std::fopen(infoFile.c_str(), "wb");
  if (!f) {
    *error = "cannot write " + infoFile;
    return false;
  }
  bool ok = std::fwrite(merged.data(), 1, merged.size(), f) == merged.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) *error = "cannot write " + infoFile;
  return ok;
}

}  // namespace packer
