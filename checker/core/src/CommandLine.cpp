#include "checker/CommandLine.h"

#include "checker/SplitString.h"
#include "common/Cp932.h"

namespace checker {

CommandLine ParseCommandLine(std::string_view raw) {
  CommandLine cl;
  SplitString(raw, " \t\r\n", cl.fields);
  StripQuotes(cl.fields);
  const auto& f = cl.fields;
  for (std::size_t i = 1; i < f.size(); ++i) {
    bool last = i + 1 == f.size();
    if (cp932::EqualsNoCase(f[i], "-waitprocess")) {
      cl.maintenance = true;
      if (!last) cl.steps.push_back({MaintenanceStep::WaitProcess, f[++i]});
    } else if (cp932::EqualsNoCase(f[i], "-remove")) {
      cl.maintenance = true;
      if (!last) cl.steps.push_back({MaintenanceStep::RemoveFolder, f[++i]});
    } else if (cp932::EqualsNoCase(f[i], "-exec")) {
      cl.maintenance = true;
      if (last) break;
      std::string command;
      for (std::size_t j = i + 1; j < f.size(); ++j) {
        if (!command.empty()) command += ' ';
        command += f[j];
      }
      cl.steps.push_back({MaintenanceStep::Exec, command});
      break;
    }
  }
  return cl;
}

}  // namespace checker
