// Resource and command ids shared by the resource script, the menus, the
// dialog buttons, the tray menu and the message tables. Numbers live here once.
#pragma once

// Icons
#define IDI_APP                 1

// Version block
#define LARKSPUR_VERSION_MAJOR  1
#define LARKSPUR_VERSION_MINOR  0
#define LARKSPUR_VERSION_PATCH  0
#define LARKSPUR_VERSION_BUILD  0
#define LARKSPUR_VERSION_TEXT   "1.0.0.0"

// Error texts of the settings and the log (string table, resources/AppStrings.rc)
#define IDS_SAVE_LEVEL_FAILED   3501
#define IDS_SAVE_INI_FAILED     3502

// ---------------------------------------------------------------------------
// Recordings: naming, opening, the codec stream, saving, categories
// (resources/files.rc)
// ---------------------------------------------------------------------------
#define IDD_SUBJECT             206    // category dialog
#define IDC_SUBJECTPROMPT       207
#define IDC_SUBJECTCOMBO        208
#define IDC_DELETECATEGORY      209
#define IDS_ACMOPENFAILED       3145
#define IDS_FORMATTAGMISSING    3170
#define IDS_SUGGESTFAILED       3171
#define IDS_STREAMOPENFAILED    3172
#define IDS_PREPAREFAILED       3173
#define IDS_CANTDELETERENAME    3195
#define IDS_CANTDELETETEMP      3220
#define IDS_WANTTOSAVE          3222
#define IDS_SOUNDCHANGED        3223
#define IDS_NOTACATEGORY        3300
#define IDS_DELETECATEGORY      3301
#define IDS_BADCATEGORYNAME     3302
#define IDS_CREATECATEGORY      3303
#define IDS_DELETEPREDEFINED    3304
#define IDS_SAVECOPYFAILED      3196   // the copy of Save As stopped: disk full or unreadable
