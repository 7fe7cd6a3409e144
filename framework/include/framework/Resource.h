#pragma once
// The framework's standard ids: commands, window ids and strings. Plain
// #defines so that .rc files can use them too.

// Commands
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_PAGE_SETUP 57605
#define ID_FILE_PRINT_SETUP 57606
#define ID_FILE_PRINT 57607
#define ID_FILE_PRINT_DIRECT 57608
#define ID_FILE_PRINT_PREVIEW 57609
#define ID_EDIT_COPY 57634
#define ID_EDIT_PASTE 57637
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_INDEX 57666
#define ID_HELP_FINDER 57667
#define ID_HELP_USING 57668
#define ID_CONTEXT_HELP 57669
#define ID_HELP 57670
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Window ids
#define AFX_IDW_TOOLBAR 59392
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_PANE_FIRST 0xE900

// Strings
#define AFX_IDS_APP_TITLE 57344

// The framework's own texts (framework/res/Framework.rc): one string block,
// 0xF100 to 0xF10F, that programs leave free.
#define FW_IDS_INVALID_ARGUMENT 0xF100
#define FW_IDS_ERROR_OCCURRED 0xF101
#define FW_IDS_NO_PRINTER 0xF102
#define FW_IDS_PREVIEW_TITLE 0xF103
#define FW_IDS_PREVIEW_PRINT 0xF104
#define FW_IDS_PREVIEW_NEXT 0xF105
#define FW_IDS_PREVIEW_PREV 0xF106
#define FW_IDS_PREVIEW_ZOOM_IN 0xF107
#define FW_IDS_PREVIEW_ZOOM_OUT 0xF108
#define FW_IDS_PREVIEW_CLOSE 0xF109
#define FW_IDS_PREVIEW_PAGE 0xF10A
#define FW_IDS_PREVIEW_PAGES 0xF10B

// Help commands given to CFrameWnd::OnHelpCall (values of WinHelp's).
#define FW_HELP_CONTEXT 0x0001
#define FW_HELP_INDEX 0x0003
#define FW_HELP_HELPONHELP 0x0004
#define FW_HELP_FINDER 0x000B
// Help context of a frame's resource: this base plus the resource id.
#define FW_HID_BASE_RESOURCE 0x00020000UL
