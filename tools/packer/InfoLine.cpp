#include "InfoLine.h"

#include <cstdio>
#include <cstdlib>

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

bool AppendUpdateLine(const std::string& infoFile, const std::string& lowest, const std::string& highest,
                      const std::string& url, std::string* error) {
  std::string problem = CheckUpdateLine(lowest, highest, url);
  if (!problem.empty()) {
    *error = problem;
    return false;
  }
  bool needBreak = false;
  if (std::FILE* f = std::fopen(infoFile.c_str(), "rb")) {
    if (std::fseek(f, -1, SEEK_END) == 0) {
      int last = std::fgetc(f);
      needBreak = last != '\n' && last != '\r' && last != EOF;
    }
    std::fclose(f);
  }
  std::FILE* f = std::fopen(infoFile.c_str(), "ab");
  if (!f) {
    *error = "cannot write " + infoFile;
    return false;
  }
  std::string line = (needBreak ? "\r\n" : "") + std::string("R ") + lowest + " " + highest + " " + url + "\r\n";
  bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) *error = "cannot write " + infoFile;
  return ok;
}

}  // namespace packer
