#pragma once
// Resource IDs of the directory check, shared by its .rc and its code.

#define IDI_DIR_CHECK 1
#define IDD_DIR_CHECK 100

#define IDC_DC_FOLDER 1001
#define IDC_DC_BROWSE 1002
#define IDC_DC_STOP 1004
#define IDC_DC_PROGRESS 1005
#define IDC_DC_STATUS 1006
#define IDC_DC_FILES 1007
#define IDC_DC_PROBLEMS 1008
#define IDC_DC_TOTALS 1009
