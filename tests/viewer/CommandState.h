#pragma once
// A command's enable and check state as a menu would show it, through the
// framework's routing and its rule for commands nobody decides.
#include "framework/CmdTarget.h"

struct CommandState {
  bool enabled;
  int check;
  bool operator==(const CommandState&) const = default;
};

inline CommandState StateOf(fw::CCmdTarget& target, unsigned id) {
  fw::CCmdUI ui(id);
  fw::UpdateCommandUI(target, ui);
  return {ui.m_enabled, ui.m_check};
}

inline bool RunCommand(fw::CCmdTarget& target, unsigned id) { return target.OnCmdMsg(id, fw::kCmdCommand, nullptr); }
