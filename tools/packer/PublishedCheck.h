#pragma once
// Mervpack --check: looks at a published update the way a client of a given
// version will meet it.
#include <string>

namespace packer {

// Exit codes of the check.
inline constexpr int kCheckPassed = 0;    // a package applies and reads back whole
inline constexpr int kCheckFailed = 1;    // the client would fail (fetch, damage, no installer)
inline constexpr int kCheckNoUpdate = 3;  // no line applies: the client is told there is none

// Fetches the information file, picks the line for version as the checker
// does, fetches that package and verifies it; prints what it found.
int CheckPublished(const std::string& infoUrl, const std::string& version);

}  // namespace packer
