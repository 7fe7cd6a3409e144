#include "checker/SupportTrace.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/Cp932.h"

namespace checker {
namespace {

constexpr std::string_view kPrefix = "Mervik-";
constexpr std::string_view kSuffix = ".log";
constexpr std::size_t kStampLength = 15;  // YYYYMMDD-HHMMSS

bool AllDigits(std::string_view s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos; }

// Start time, then process id as a number: the order in which runs started.
bool Older(const std::string& a, const std::string& b) {
  std::string_view sa(a), sb(b);
  int stamp = sa.substr(kPrefix.size(), kStampLength).compare(sb.substr(kPrefix.size(), kStampLength));
  if (stamp != 0) return stamp < 0;
  auto pid = [](std::string_view s) {
    return std::strtoul(std::string(s.substr(kPrefix.size() + kStampLength + 1)).c_str(), nullptr, 10);
  };
  return pid(sa) < pid(sb);
}

}  // namespace

std::string SupportTraceName(std::time_t start, unsigned processId) {
  std::tm t{};
  // Called once, on the main thread before any worker exists.
  if (std::tm* local = std::localtime(&start)) t = *local;
  char name[64];
  std::snprintf(name, sizeof name, "Mervik-%04d%02d%02d-%02d%02d%02d-%u.log", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec, processId);
  return name;
}

bool IsSupportTraceName(std::string_view name) {
  if (name.size() <= kPrefix.size() + kStampLength + 1 + kSuffix.size()) return false;
  if (!cp932::EqualsNoCase(name.substr(0, kPrefix.size()), kPrefix) ||
      !cp932::EqualsNoCase(name.substr(name.size() - kSuffix.size()), kSuffix))
    return false;
  std::string_view stamp = name.substr(kPrefix.size(), kStampLength);
  std::string_view pid =
      name.substr(kPrefix.size() + kStampLength + 1, name.size() - kPrefix.size() - kStampLength - 1 - kSuffix.size());
  return AllDigits(stamp.substr(0, 8)) && stamp[8] == '-' && AllDigits(stamp.substr(9)) &&
         name[kPrefix.size() + kStampLength] == '-' && AllDigits(pid);
}

std::vector<std::string> SupportTracesToRemove(const std::vector<std::string>& names) {
  std::vector<std::string> traces;
  for (const auto& n : names)
    if (IsSupportTraceName(n)) traces.push_back(n);
  std::sort(traces.begin(), traces.end(), Older);
  const std::size_t keep = kSupportTracesKept - 1;
  if (traces.size() <= keep) return {};
  traces.resize(traces.size() - keep);
  return traces;
}

}  // namespace checker
