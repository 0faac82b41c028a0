#pragma once
// Resource IDs of the services manager, shared by its .rc and its code.

#define IDI_SERVICES 1
#define IDD_SERVICES 100

#define IDC_SM_LIST 1001
#define IDC_SM_REFRESH 1002
#define IDC_SM_START 1003
#define IDC_SM_STOP 1004
#define IDC_SM_COUNT 1005
