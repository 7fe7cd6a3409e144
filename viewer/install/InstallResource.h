#pragma once
// Resource ids of the font installation dialogs and messages (Install.rc).
// Plain #defines so that the resource compiler reads them too.

#define IDD_FINDFONT 151
#define IDC_FIND_BROWSE 1033
#define IDC_FIND_FOLDER 1034
#define IDC_FIND_TTF 1035
#define IDC_FIND_TTC 1036
#define IDC_FIND_FON 1037
#define IDC_FIND_PFM 1038
#define IDC_FIND_OTF 1039
#define IDC_FIND_OTHER 1040
#define IDC_FIND_OTHER_EXT 1041

#define IDD_FONTINFO 153
#define IDC_INFO_FACE 1066
#define IDC_INFO_FILE 1067
#define IDC_INFO_KIND 1068
// Made at run time under the face name: its family names from the font.
#define IDC_INFO_NAMES 1069

// Message texts and captions, in string blocks of their own (256 to 287).
#define IDS_FIND_ERROR_CAPTION 256
#define IDS_FIND_WARNING_CAPTION 257
#define IDS_FIND_INFO_CAPTION 258
#define IDS_FIND_BROWSE_TITLE 259
#define IDS_FIND_NO_EXTENSION 260
#define IDS_FIND_NO_FOLDER 261
#define IDS_FIND_TOO_LONG 262
#define IDS_FIND_NO_SUCH_FOLDER 263
#define IDS_FIND_START_QUESTION 264
#define IDS_FIND_NOTHING_FOUND 265
#define IDS_FIND_FOUND_QUESTION 266
#define IDS_OPEN_FONTS_TITLE 267
#define IDS_OPEN_TOO_MANY_FILES 268
#define IDS_PERMANENT_QUESTION 269
#define IDS_PERMANENT_CAPTION 270
#define IDS_PERMANENT_FAILED 271
#define IDS_PERMANENT_FAILED_CAPTION 272
