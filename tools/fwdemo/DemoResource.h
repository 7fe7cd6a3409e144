#pragma once
// Resource and command ids of the framework demo.
#include "framework/Resource.h"

#define IDR_MAINFRAME 128
#define IDD_DIALOGBAR 130
#define IDR_SECONDBAR 131
#define IDR_CONTEXT 132
#define IDD_DEMO_DIALOG 200
#define IDD_DEMO_PAGE 201
#define IDS_SHEET_CAPTION 202

#define IDC_TEXT 1000
#define IDC_FONTSIZE 1001
#define IDC_STATUS 1002
#define IDC_NAME 1003
#define IDC_OPTION 1004
#define IDC_CHOICE 1005

#define ID_VIEW_DIALOGBAR 32771
#define ID_VIEW_SECONDBAR 32772
#define ID_VIEW_NOHANDLER 32773
#define ID_COUNT_UP 32780
#define ID_COUNT_DOWN 32781
#define ID_COUNT_RESET 32782
#define ID_BAD_INDEX 32783
#define ID_SHOW_DIALOG 32784
#define ID_SHOW_SHEET 32785
#define ID_TOGGLE_MARK 32786
#define ID_THROW_OTHER 32787
