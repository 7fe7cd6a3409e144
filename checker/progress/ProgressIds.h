#pragma once
// Template and control ids of the checker's progress dialog.
#define IDD_PROGRESS 101
#define IDC_PROGRESS_BAR 1000
#define IDC_CANCEL_BUTTON 1001
#define IDC_FOCUS_DUMMY 1002
#define IDC_PHASE_TEXT 1003
#define IDC_TEXT_CHECKING 1004
#define IDC_TEXT_DOWNLOADING 1005
#define IDC_TEXT_PREPARING 1006
