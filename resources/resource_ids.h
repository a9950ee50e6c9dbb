// Every resource and control ID of the program, named once. The .rc file and
// the code both include this header; tests refer to IDs by these names.
#pragma once

// The loader reads an exe's manifest only under RT_MANIFEST with ID 1
// (CREATEPROCESS_MANIFEST_RESOURCE_ID); the version resource is
// conventionally ID 1 (VS_VERSION_INFO) too. Different types, no clash.
#define IDR_MANIFEST 1
#define IDV_VERSION 1
#define IDI_APP 100  // the lowest icon ID: Explorer shows it as the exe's icon
#define IDD_MAIN 102
#define IDD_ASSIGN 103  // "Assign addresses": a site's range or plan, applied and verified
#define IDS_TITLE 104
#define IDR_LIST_MENU 110  // the device list's context menu

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDC_UPDATE 1  // the default button, so it is also IDOK
#define IDC_EXIT 2    // also IDCANCEL: the dialog manager sends it on Escape and on close
#define IDC_DEVICE_LIST 1001
#define IDC_NAME 1002
#define IDC_IP 1003
#define IDC_SUBNET_MASK 1004
#define IDC_GATEWAY 1005
#define IDC_SUBMIT 1006
#define IDC_MAC_GROUP 1007
#define IDC_DEVICE_INFO 1008
#define IDC_HTTP_PORT 1010
#define IDC_NEW_MAC 1011
#define IDC_AUDIO_PORT 1012
#define IDC_MODE_PPPOE 1013
#define IDC_MODE_DHCP 1014
#define IDC_MODE_STATIC 1015
#define IDC_MAC_LABEL 1019
#define IDC_STATUS_LINE 1020
#define IDC_TOOL_PORT 1021
#define IDC_TOOL_PORT_LABEL 1022
#define IDC_PPPOE_ACCOUNT 1023
#define IDC_PPPOE_PASSWORD 1025
#define IDC_DEVICE_NOTE 1030  // what bites the camera shown, under the information text

// The device list's context menu.
#define IDM_OPEN_PAGE 40001
#define IDM_COPY_IP 40002
#define IDM_COPY_MAC 40003
#define IDM_COPY_LIST 40004
#define IDM_ASSIGN_ADDRESSES 40005  // opens IDD_ASSIGN; also when posted to the main dialog
#define IDM_SAVE_LIST 40006

// The "Assign addresses" dialog.
#define IDC_ASSIGN_FIRST 1101
#define IDC_ASSIGN_LAST 1102
#define IDC_ASSIGN_MASK 1103
#define IDC_ASSIGN_GATEWAY 1104
#define IDC_ASSIGN_PATTERN 1105
#define IDC_ASSIGN_ADAPTER 1106  // the adapter whose cameras the range takes, or all
#define IDC_ASSIGN_PLAN 1110  // the plan: a report-style list view
#define IDC_ASSIGN_PREVIEW 1120
#define IDC_ASSIGN_PASTE 1121
#define IDC_ASSIGN_APPLY 1122
#define IDC_ASSIGN_COPY_REPORT 1123
#define IDC_ASSIGN_SUMMARY 1124
#define IDC_ASSIGN_OPEN_PLAN 1125
#define IDC_ASSIGN_SAVE_REPORT 1126
