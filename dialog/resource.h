// Resource, control and command identifiers. Plain defines, so that the Windows
// resource script can include this file too.
#pragma once

#define IDD_ABOUT 100
#define IDS_ABOUT_MENU 101
#define IDD_SETTINGS 102
#define IDI_APP 128

#define IDM_ABOUT 0x0010

#define IDC_AUTO_IP 1000
#define IDC_FIXED_IP 1001
#define IDC_IP_ADDRESS 1002
#define IDC_SUBNET_MASK 1003
#define IDC_GATEWAY 1004
#define IDC_OTHER_DNS 1005
#define IDC_PREFERRED_DNS 1006
#define IDC_PUSH_ADDRESS 1007
#define IDC_RING_LIMIT 1008
#define IDC_LINE_GUARD 1009
#define IDC_CIPKEY 1010

// Texts of the tool (dialog/Strings.cpp).
#define IDS_GUARD_OFF 200
#define IDS_GUARD_ON 201
#define IDS_SETTINGS_CAPTION 202
#define IDS_FILE_CREATED 203
#define IDS_CHOOSE_FOLDER 204
#define IDS_WRITE_FAILED 205
