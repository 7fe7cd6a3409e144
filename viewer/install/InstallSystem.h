#pragma once
// The system calls behind the portable installation logic: folder listing,
// the font key, the font folder, the Windows version, the install program.
#include <windows.h>

#include <string>

#include "install/FolderSearch.h"
#include "install/FontFileLookup.h"

class Win32DirectoryLister : public DirectoryLister {
 public:
  bool List(const std::string& folder, const std::function<void(const Entry&)>& sink) override;
};

class Win32FontKeyReader : public FontKeyReader {
 public:
  std::optional<std::vector<Value>> Values(const std::string& key) override;
};

bool IsFolder(const std::string& path);

// The Windows directory followed by "\Fonts", or "" when there is none.
std::string WindowsFontFolder();

SystemVersion ReadSystemVersion();

// The folder of our program file, upper case, without a trailing backslash.
std::string ProgramFolder();

// Runs the command line (no quoting added), waits for its end without
// handling messages and returns true exactly when it exited with code 1.
bool RunAndExpectOne(const std::string& commandLine);

// Shows the wait cursor while alive.
class WaitCursor {
 public:
  WaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(old_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR old_;
};
