#pragma once
// The checker's command line. Normal form, seven fields:
//   "Mervik.exe" <info URL> <version> <host pid> <relay thread> "<host folder\>" "<host program>"
// Maintenance form: any of -waitprocess <pid>, -remove <folder>, -exec <command...>.
#include <string>
#include <string_view>
#include <vector>

namespace checker {

struct MaintenanceStep {
  enum Kind { WaitProcess, RemoveFolder, Exec } kind;
  std::string argument;
};

struct CommandLine {
  std::vector<std::string> fields;     // split and unquoted
  bool maintenance = false;            // an option keyword was seen
  std::vector<MaintenanceStep> steps;  // the options that have an argument, in order
};

CommandLine ParseCommandLine(std::string_view raw);

}  // namespace checker
