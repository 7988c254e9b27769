#pragma once
// Resource and control identifiers. Plain #defines: the resource compiler reads this file too.

#include "win/CommandIds.h"

#define IDD_ABOUT 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDI_APP 128
#define IDC_POINTING_HAND 129
// The maps of the style thumbnails, PNG pictures
#define IDB_DAYNIGHT 130
#define IDB_DAYTIME 131
#define IDB_NIGHTTIME 132
#define IDD_CUSTOM_SETTINGS 138
#define IDR_ACCELERATORS 139

// Main settings dialog
#define IDC_UPDATE_NOW 1004
#define IDC_EDIT_CUSTOM 1015
#define IDC_DAYTIME_THUMB 1016
#define IDC_NIGHTTIME_THUMB 1017
#define IDC_DAYNIGHT_THUMB 1018
#define IDC_CUSTOM_THUMB 1019
#define IDC_PROGRESS 1024
#define IDC_VERSION 1033
#define IDC_MAP_STATUS 1034

// About box
#define IDC_ABOUT_VERSION 1009
#define IDC_ABOUT_COPYRIGHT 1010
#define IDC_ABOUT_LINK 1011

// Custom settings dialog
#define IDC_NOON_PIXEL 1002
#define IDC_UPDATE_FREQ 1003
#define IDC_DISABLED 1013
#define IDC_MORE_IMAGES_LINK 1014
#define IDC_TERMINATOR 1018
#define IDC_MAIN_IMAGE 1026
#define IDC_NIGHT_IMAGE 1027
#define IDC_BROWSE_MAIN 1028
#define IDC_BROWSE_NIGHT 1029
#define IDC_NO_BOOT_UPDATE 1032

// Commands and messages; the help command ID_HELP is the framework's (win/CommandIds.h)
#define IDM_ABOUTBOX 16
#define WM_APPBAR_CALLBACK 1124
#define WM_RESCALE_THUMBNAILS (WM_APP + 1)

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
