#pragma once
// Resource and command ids of Glimra.exe, shared by Glimra.rc and the code;
// the framework's standard ids come from its header. Plain #defines so
// that the resource compiler can read them too.

// Document template: menu, accelerators, icon, main tool bar, template string.
#define IDR_MAINFRAME 128
#define IDD_TEXTINPUT 130
#define IDR_FONTSELECT 131
#define IDR_CONTEXTMENU 132
#define IDR_LISTSELECT 32808

#define IDP_OLE_INIT_FAILED 100
#define IDS_APP_TITLE 57344
#define IDS_SAMPLE_JAPANESE 61204
#define IDS_SAMPLE_WESTERN 61205
#define IDS_UPDATE_ADDRESS 61206
#define IDS_UPDATE_VERSION 61207
#define IDS_SETTING_CAPTION 61208

// Texts of the frame and the view, in a string block of their own (208 to 223).
#define IDS_TOOLBAR_TITLE 208
#define IDS_FONTBAR_TITLE 209
#define IDS_LISTBAR_TITLE 210
#define IDS_TEXTBAR_TITLE 211
#define IDS_FAVOURITE_LIMIT 212
#define IDS_FAVOURITE_LIMIT_CAPTION 213
#define IDS_RELEASE_QUESTION 214

// Text input bar controls.
#define IDC_SAMPLE_TEXT 1000
#define IDC_SAMPLE_SIZE 1001

// Bars (their ids double as the View menu's toggle commands).
#define ID_VIEW_TEXTINPUT 32771
#define ID_VIEW_FONTSELECT 32772
#define ID_VIEW_LISTSELECT 32773

// Commands of the viewer.
#define ID_COPY_FONTNAME 32774
#define ID_FONT_TEMPINSTALL 32775
#define ID_FONT_TEMPUNINSTALL 32776
#define ID_LANG_WESTERN 32777
#define ID_LANG_JAPANESE 32778
#define ID_LANG_ALL 32779
#define ID_KIND_TEMPORARY 32790
#define ID_KIND_REGISTERED 32791
#define ID_SETTINGS 32792
#define ID_UPDATE_CHECK 32793
#define ID_SITE_VANTO 32794
#define ID_SITE_SUPPORT 32795
#define ID_FONT_FOLDERINSTALL 32796
#define ID_FONT_PROPERTIES 32799
#define ID_FAVOURITE_ADD 32800
#define ID_CANDIDATE_ADD 32801
#define ID_MODE_FAVOURITES 32802
#define ID_MODE_CANDIDATES 32803
#define ID_FAVOURITE_REMOVE 32804
#define ID_CANDIDATE_REMOVE 32805
#define ID_MODE_STANDARD 32806
#define ID_FONT_PERMANENT 32807

// Commands of the features that are off until the user turns them on (Japanese
// coverage, vertical preview, names and search). Their menu items follow the
// standard ones of each menu behind a separator.
#define ID_VIEW_COVERAGE 32809
#define ID_COVERAGE_FULL_JOYO 32810
#define ID_COVERAGE_DETAILS 32811
#define ID_COVERAGE_SAVE_CSV 32812
#define ID_VIEW_VERTICAL 32813  // also the vertical preview bar's id
#define ID_VIEW_ENGLISH_NAMES 32814
#define ID_EDIT_FIND 32815  // shows the find bar
#define IDD_FINDBAR 133
#define IDC_FIND_TEXT 1002
// Their texts, in string blocks of their own: coverage 288 to 303, vertical
// preview 304 to 319, names and search 320 to 335.
#define IDS_FINDBAR_TITLE 320

// Vertical preview pane.
#define IDS_VERTICAL_TITLE 304
#define IDS_VERTICAL_NO_FACE 305
#define IDS_VERTICAL_FORMS_YES 306
#define IDS_VERTICAL_FORMS_NO 307
#define IDS_VERTICAL_FORMS_UNKNOWN 308

// The framework's standard commands (ID_FILE_PRINT, ID_EDIT_COPY, ID_HELP...)
// come from its own header.
#include "framework/Resource.h"

// Sent by the frame to its view before it closes.
#define WM_GLIMRA_CLOSING 0x0410
// Asks the view for a number of its list state (wParam: one of the
// GLIMRA_QUERY_* codes) so that automation can follow scrolling and selection,
// which the window's own scroll bar only shows inside the process.
#define WM_GLIMRA_QUERY 0x8050
#define GLIMRA_QUERY_TOP_ROW 0
#define GLIMRA_QUERY_SELECTED_ROW 1
#define GLIMRA_QUERY_ROW_COUNT 2
#define GLIMRA_QUERY_VISIBLE_ROWS 3
#define GLIMRA_QUERY_DIVIDER 4
#define GLIMRA_QUERY_FONT_SIZE 5
#define GLIMRA_QUERY_UPDATE_STATE 6
// Of the last print job or preview: the printer's dots per inch (vertical),
// the page number line's height, and (lParam = page from 1) a page's first row.
#define GLIMRA_QUERY_PRINT_DPI 7
#define GLIMRA_QUERY_PRINT_FOOTER_HEIGHT 8
#define GLIMRA_QUERY_PAGE_START 9
// Codes 10 to 19 belong to the coverage feature, 20 to 29 to the vertical
// preview, 30 to 39 to names and search.
#define GLIMRA_QUERY_COVERAGE_FIRST 10
// Faces the coverage scan has still to measure (plus one while measured faces
// wait to be shown), and the faces it has measured.
#define GLIMRA_QUERY_COVERAGE_OUTSTANDING 10
#define GLIMRA_QUERY_COVERAGE_COLLECTED 11
// Height of a row laid out by the last paint (lParam: 0 for the top row).
#define GLIMRA_QUERY_ROW_HEIGHT 12
// Joyo kanji the face of a visible row (lParam) maps; -1 while it is not
// measured, -2 when it could not be read.
#define GLIMRA_QUERY_COVERAGE_JOYO 13
// The process's peak working set in KiB.
#define GLIMRA_QUERY_PEAK_MEMORY_KB 14
#define GLIMRA_QUERY_COVERAGE_LAST 19
// The vertical preview pane answers its own codes when they are sent to it:
// what its last paint showed (0 nothing, 1 the vertical sample, 2 the note
// that the face has no vertical variant), the face's vertical forms (-1 not
// read, else 1 for 'vert' plus 2 for 'vrt2') and the columns drawn.
#define GLIMRA_QUERY_VERTICAL_SHOWN 20
#define GLIMRA_QUERY_VERTICAL_FORMS 21
#define GLIMRA_QUERY_VERTICAL_COLUMNS 22
// The last change of the find bar's text: microseconds spent matching the
// names, and then narrowing the list and painting it.
#define GLIMRA_QUERY_SEARCH_MATCH_US 30
#define GLIMRA_QUERY_SEARCH_PAINT_US 31

// Posted to the view by the face-table scan when results are ready to collect.
#define WM_GLIMRA_FACES_SCANNED 0x8051
