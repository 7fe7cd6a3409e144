#pragma once
// Resource ids of the settings and About dialogs (Dialogs.rc and the code).
// Plain #defines so that the resource compiler reads them too.
#define IDD_ABOUTBOX 100
#define IDD_SETTING_UPDATE 139
#define IDI_ABOUT_MARK 142

#define IDC_AUTOUPDATE 1007
#define IDC_VERSION 1008
#define IDC_MAKER_LINK 1009
#define IDC_FAVMAX 1069

// Caption of the settings sheet (in the program's string table, beside the
// strings of the same block); "設定" when the program has no such string.
#define IDS_SETTING_CAPTION 61208
