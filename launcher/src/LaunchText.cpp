#include "LaunchText.h"

#include <cstdio>
#include <vector>

#include "common/Cp932.h"
#include "common/Paths.h"

namespace lanvik {

std::string MutexNameFor(std::string_view address) {
  std::string name(address);
  for (std::size_t i = 0; i < name.size(); i = cp932::Next(name, i)) {
    if (name[i] == '/' || name[i] == ':' || name[i] == '\\') name[i] = '_';
  }
  return name;
}

bool IsSingleField(std::string_view text) {
  return !text.empty() && text.find_first_of(" \t\r\n\"") == std::string_view::npos;
}

std::string HostFolderOf(std::string_view hostProgram) { return paths::FolderWithSeparator(hostProgram); }

std::string CheckerPathFor(std::string_view hostProgram) { return HostFolderOf(hostProgram) + "Mervik.exe"; }

std::string CheckerCommandLine(const CheckerCall& call) {
  const std::string folder = HostFolderOf(call.hostProgram);
  const std::string checker = folder + "Mervik.exe";
  const std::string address(call.address);
  const std::string version(call.version);
  const std::string host(call.hostProgram);
  // The fixed part (six quotes, six blanks, two numbers of at most ten
  // digits) needs far less than the 100 spare bytes.
  std::vector<char> buffer(version.size() + address.size() + checker.size() + folder.size() + host.size() + 100);
  const int n = std::snprintf(buffer.data(), buffer.size(), "\"%s\" %s %s %u %u \"%s\" \"%s\"", checker.c_str(),
                              address.c_str(), version.c_str(), static_cast<unsigned>(call.hostProcessId),
                              static_cast<unsigned>(call.relayThreadId), folder.c_str(), host.c_str());
  return n < 0 ? std::string() : std::string(buffer.data(), static_cast<std::size_t>(n));
}

}  // namespace lanvik
