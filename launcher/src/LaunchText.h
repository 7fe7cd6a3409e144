#pragma once
// The text the launcher derives from its arguments: the name of the run
// mutex and the checker's command line. Kept free of windows.h so that it is
// tested natively.
#include <cstdint>
#include <string>
#include <string_view>

namespace lanvik {

// The run mutex's name for an update address: every '/', ':' and '\\' becomes
// '_' (kernel object names may not contain a backslash). Double-byte
// characters are stepped over whole, so a trail byte 0x5C stays as it is.
std::string MutexNameFor(std::string_view address);

// True for text that the checker can read back as exactly one command-line
// field: not empty, no blank (space, tab, CR, LF) and no double quote.
bool IsSingleField(std::string_view text);

// The host program's folder with its trailing separator ("" without one).
std::string HostFolderOf(std::string_view hostProgram);

// The checker program expected beside the host program.
std::string CheckerPathFor(std::string_view hostProgram);

struct CheckerCall {
  std::string_view address;
  std::string_view version;
  std::uint32_t hostProcessId = 0;
  std::uint32_t relayThreadId = 0;
  std::string_view hostProgram;
};

// The seven fields "checker" address version pid tid "folder" "host".
std::string CheckerCommandLine(const CheckerCall& call);

}  // namespace lanvik
