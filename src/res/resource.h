// Resource ids of mirlka.exe, shared by the resource script and the code.
#pragma once

#define IDD_ABOUT 100
#define IDD_MAIN 101
#define IDR_MAINMENU 106
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
