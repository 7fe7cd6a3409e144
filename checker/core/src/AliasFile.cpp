#include "checker/AliasFile.h"

#include <cstdio>
#include <vector>

#include "checker/SplitString.h"
#include "common/Cp932.h"

namespace checker {
namespace {

bool ReadLine(std::FILE* f, std::string& line) {
  line.clear();
  int c;
  while ((c = std::fgetc(f)) != EOF) {
    if (c == '\n') return true;
    line.push_back(static_cast<char>(c));
  }
  return !line.empty();
}

std::string Trim(const std::string& s) {
  // Only ASCII white space: it never occurs as a cp932 trail byte.
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  std::size_t b = 0, e = s.size();
  while (b < e && space(s[b])) ++b;
  while (e > b && space(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Applies one keyword's line unless one was applied already.
void Replace(const char* keyword, const std::vector<std::string>& fields, std::string& value, bool& applied,
             std::FILE* log) {
  if (applied || !cp932::EqualsNoCase(fields[0], keyword)) return;
  if (fields[1] != "*" && !cp932::EqualsNoCase(fields[1], value)) return;
  applied = true;
  if (log) std::fprintf(log, "%s %s -> %s\n", keyword, value.c_str(), fields[2].c_str());
  value = fields[2];
}

}  // namespace

void ApplyAliasFile(std::string& infoUrl, std::string& version, const std::string& folder, std::time_t now) {
  std::string logPath = folder + kAliasLogName;
  std::string aliasPath = folder + kAliasFileName;
  std::remove(logPath.c_str());
  std::FILE* alias = std::fopen(aliasPath.c_str(), "r");
  if (!alias) return;
  std::FILE* log = std::fopen(logPath.c_str(), "w");
  if (log) {
    std::tm local{};
    if (std::tm* t = std::localtime(&now)) local = *t;
    std::fprintf(log, "%04d/%02d/%02d %02d:%02d:%02d\n", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                 local.tm_hour, local.tm_min, local.tm_sec);
  }
  bool urlApplied = false, verApplied = false;
  std::string line;
  std::vector<std::string> fields;
  while (ReadLine(alias, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (SplitString(line, " \t\r\n", fields) < 3) continue;
    Replace("URL", fields, infoUrl, urlApplied, log);
    Replace("VER", fields, version, verApplied, log);
  }
  if (log) std::fclose(log);
  std::fclose(alias);
}

}  // namespace checker
