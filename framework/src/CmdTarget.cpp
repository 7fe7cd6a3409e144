#include "framework/CmdTarget.h"

namespace fw {

const MessageMap& CCmdTarget::ClassMessageMap() {
  static const MessageMap map{nullptr, {}};
  return map;
}

const MessageEntry* CCmdTarget::FindEntry(MessageEntry::Kind kind, unsigned code) const {
  for (const MessageMap* map = GetMessageMap(); map; map = map->base)
    for (const MessageEntry& e : map->entries)
      if (e.kind == kind && e.code == code) return &e;
  return nullptr;
}

bool CCmdTarget::DispatchOwnCommand(unsigned id, int code, CCmdUI* ui) {
  for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
    for (const MessageEntry& e : map->entries) {
      if (id < e.first || id > e.last) continue;
      if (code == kCmdUpdateUI) {
        if (e.kind != MessageEntry::Kind::UpdateUI || !ui) continue;
        e.handler(*this, MsgArgs{0, id, 0}, ui);
        return true;
      }
      if (e.kind != MessageEntry::Kind::Command || e.code != static_cast<unsigned>(code < 0 ? 0 : code)) continue;
      if (code == kCmdProbe) return true;
      // A handler that declines (bool false) lets routing go on.
      if (e.handler(*this, MsgArgs{0, id, 0}, nullptr) != 0) return true;
    }
  }
  return false;
}

bool CCmdTarget::OnCmdMsg(unsigned id, int code, CCmdUI* ui) { return DispatchOwnCommand(id, code, ui); }

bool UpdateCommandUI(CCmdTarget& target, CCmdUI& ui) {
  ui.m_bEnableChanged = false;
  target.OnCmdMsg(ui.m_nID, kCmdUpdateUI, &ui);
  if (!ui.m_bEnableChanged) ui.Enable(target.OnCmdMsg(ui.m_nID, kCmdProbe, nullptr));
  return ui.m_enabled;
}

}  // namespace fw
