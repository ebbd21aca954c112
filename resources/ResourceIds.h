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
