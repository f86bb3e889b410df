// Resource ids of mirlka.exe, named once here and used by name in the resource script and the
// code. Plain numbers only: the platform-free core may include this file too.
#pragma once

// The main window's class: a copy of the dialog class, named in dialog 101's template.
#define MIRLKA_WINDOW_CLASS "MiRlKaWnd"
// The program's entry in the host's Tools menu, below HKEY_LOCAL_MACHINE.
#define MIRLKA_TOOL_KEY "SOFTWARE\\Cakewalk Music Software\\Tools Menu\\mirlka"

#define IDD_ABOUT 100
#define IDD_MAIN 101
#define IDM_MAINMENU 106
#define IDR_ACCELERATORS 107
#define IDI_APP 128

// Main window controls.
#define IDC_TRACKLIST 1000
#define IDC_CHANNEL 1001
#define IDC_EXECUTE 1002
#define IDC_PRESET 1003
#define IDC_PRESET_SAVE 1004
#define IDC_PRESET_DELETE 1005
#define IDC_RESET 1006
#define IDC_CHANNEL_LABEL 1008

// About box controls; the three version texts share their ids with the string-table entries naming
// the version keys they show.
#define IDC_ABOUT_WEBSITE 1002
#define IDC_ABOUT_BROWSE 1003
#define IDC_ABOUT_EXEPATH 1005
#define IDC_ABOUT_DESCRIPTION 134
#define IDC_ABOUT_COPYRIGHT 135
#define IDC_ABOUT_COMMENTS 136

// Commands. The popup menu of channels uses IDM_CHANNEL_NONE + channel (0 = no channel).
#define IDM_CHANNEL_NONE 40000
#define IDM_CHANNEL_LAST 40016
#define IDM_EXIT 40019
#define IDM_ABOUT 40020
#define IDM_MANUAL 40021
#define IDM_REGISTER_TOOL 40022
#define IDM_SAVE_CAL_PROGRAM 40027
// Edits of the track table, in the popup menu of channels and on keys (accelerators 107).
#define IDM_NUMBER 40023
#define IDM_UNDO 40024
#define IDM_REDO 40025
#define IDM_SELECT_ALL 40026

// The string table.
#define IDS_WEB_SITE 2
// Tools-menu entry of the host: key below HKEY_LOCAL_MACHINE, value names and the type's data.
#define IDS_TOOL_KEY 3
#define IDS_TOOL_EXE_PATH_NAME 4
#define IDS_TOOL_MENU_TEXT_NAME 5
#define IDS_TOOL_STATUS_BAR_TEXT_NAME 6
#define IDS_TOOL_TYPE_GENERIC 7
#define IDS_TOOL_TYPE_NAME 8
// Names of the version keys shown in the about box, in the controls of the same ids.
#define IDS_VERSION_FILE_DESCRIPTION IDC_ABOUT_DESCRIPTION
#define IDS_VERSION_LEGAL_COPYRIGHT IDC_ABOUT_COPYRIGHT
#define IDS_VERSION_COMMENTS IDC_ABOUT_COMMENTS
// Message-box titles, chosen by the box's icon.
#define IDS_TITLE_ERROR 137
#define IDS_TITLE_CONFIRM 138
#define IDS_TITLE_WARNING 139
#define IDS_TITLE_INFORMATION 140
#define IDS_MAIN_WINDOW_TITLE 141
// Messages.
#define IDS_ASK_OPEN_WEB_SITE 142
#define IDS_ASK_OVERWRITE_PRESET 143
#define IDS_ASK_DELETE_PRESET 144
#define IDS_PRESET_NOT_FOUND 145
#define IDS_HOST_BUSY 146
#define IDS_NO_CONVERSATION 147
#define IDS_UNEXPECTED_ERROR 148
// Column titles of the track list.
#define IDS_TRACK_COLUMN 149
#define IDS_CHANNEL_COLUMN 150
#define IDS_TOOL_DISPLAY_NAME 151
// Sent, but the host stayed connected and silent long after the last expression.
#define IDS_HOST_NOT_CONFIRMED 152
// The file types of the Save As dialog of a CAL program: name and pattern, each ended by "|".
#define IDS_CAL_PROGRAM_FILTER 153
// Items of the popup menu of channels below the channels, with their keys after a tab.
#define IDS_MENU_NUMBER 160
#define IDS_MENU_UNDO 161
#define IDS_MENU_REDO 162
#define IDS_MENU_SELECT_ALL 163
