#pragma once
// The recursive search for font files below a folder (CD or folder install).
// Portable: the file system is reached through DirectoryLister.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Longest path the search handles, in bytes: the classic MAX_PATH buffer less
// its terminating zero. Longer paths are skipped, never truncated.
inline constexpr std::size_t kMaxSearchPath = 259;

class DirectoryLister {
 public:
  struct Entry {
    std::string name;
    bool isFolder = false;
    // A junction or symbolic link (a reparse point): it may lead back up
    // the tree, so the search does not follow it into a folder.
    bool isLink = false;
  };
  virtual ~DirectoryLister() = default;
  // Calls sink for every entry of the folder (path ends with a backslash) in
  // the order the file system gives them. False when it cannot be listed.
  virtual bool List(const std::string& folder, const std::function<void(const Entry&)>& sink) = 0;
};

struct SearchResult {
  int count = 0;                     // matches, sub-folders included
  std::vector<std::string> found;    // full paths in the order met
  std::vector<std::string> tooLong;  // files and folders skipped for their length
};

// True when the file name ends with the extension (".ttf"), letters compared
// without regard to case, the extension starting at a character boundary.
bool HasExtension(std::string_view fileName, std::string_view extension);

// Searches folder and every folder below it, depth first: a sub-folder is
// searched when it is met, before the entries that follow it; folder links
// are not followed, so a link to a folder above ends no loop. A file is
// recorded on the first extension it matches. Results are appended to result;
// returns the number added by this call.
int SearchFolder(DirectoryLister& lister, std::string_view folder, const std::vector<std::string>& extensions,
                 SearchResult& result);
