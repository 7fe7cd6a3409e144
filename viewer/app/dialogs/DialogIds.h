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

// Message texts of the About dialog and the hyperlink (Dialogs.rc), in string
// blocks of their own (224 to 255).
#define IDS_ERROR_CAPTION 224
#define IDS_ABOUT_NO_VERSION 225
#define IDS_LINK_OUT_OF_RESOURCES 226
#define IDS_LINK_FILE_NOT_FOUND 227
#define IDS_LINK_PATH_NOT_FOUND 228
#define IDS_LINK_ACCESS_DENIED 229
#define IDS_LINK_OUT_OF_MEMORY 230
#define IDS_LINK_BAD_FORMAT 231
#define IDS_LINK_SHARING 232
#define IDS_LINK_ASSOC_INCOMPLETE 233
#define IDS_LINK_DDE_TIMEOUT 234
#define IDS_LINK_DDE_FAILED 235
#define IDS_LINK_DDE_BUSY 236
#define IDS_LINK_NO_ASSOC 237
#define IDS_LINK_DLL_NOT_FOUND 238
#define IDS_LINK_OTHER_ERROR 239
