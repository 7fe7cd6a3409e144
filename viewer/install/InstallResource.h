#pragma once
// Resource ids of the font installation dialogs (Install.rc). Plain #defines
// so that the resource compiler reads them too.

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
