#pragma once
// One HTTP GET over WinINet, read in 1024-byte blocks, into a string or a file.
#include <string>

namespace checker {

class CAutoUpdate;

// 1 when the whole body arrived with status 200, 0 otherwise. Reports size and
// progress to run and stops at the next block once the run is cancelled.
int DownloadUrl(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file);

}  // namespace checker
