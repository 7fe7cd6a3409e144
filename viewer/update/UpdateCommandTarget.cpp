#include "update/UpdateCommandTarget.h"

#include "res/ResourceIds.h"

// clang-format off
FW_BEGIN_MESSAGE_MAP(UpdateCommandTarget, fw::CCmdTarget)
  fw::OnCommand(ID_UPDATE_CHECK, &UpdateCommandTarget::OnUpdateCheck),
  fw::OnUpdateCommandUI(ID_UPDATE_CHECK, &UpdateCommandTarget::OnUpdateUpdateCheck),
FW_END_MESSAGE_MAP()
// clang-format on

void UpdateCommandTarget::OnUpdateCheck() { check_.StartRequested(host_); }

void UpdateCommandTarget::OnUpdateUpdateCheck(fw::CCmdUI* ui) { ui->Enable(check_.CommandEnabled()); }
