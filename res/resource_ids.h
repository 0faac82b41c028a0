#pragma once
// Resource IDs shared by res/quillmar.rc and the code: command, control,
// dialog and resource IDs are defined once here. String IDs live with their
// texts in res/strings.inc.

#define IDR_MAINFRAME 128
#define IDI_QUILLMAR 128
#define VS_VERSION_INFO_ID 1

// Main frame resources (menu, accelerators, toolbar, icon and document string
// share IDR_MAINFRAME). The toolbar's button list is a resource of type
// RT_TOOLBAR_BUTTONS (framework/resource_conventions.h).
#define IDB_MAINFRAME_TOOLBAR 128

// Main frame commands.
#define ID_CAPTURE_WINDOW 5001
#define ID_WINDOW_LIST 5002
#define ID_PROCESS_LIST 5003
#define ID_PROCESS_TREE 5004
#define ID_REFRESH_PROPERTIES 5005
#define ID_AUTO_REFRESH 5006
#define ID_EDIT_STYLES 5007
#define ID_EDIT_EXSTYLES 5008
#define ID_CLASS_STYLES 5009
#define ID_CHILD_WINDOWS 5010
#define ID_PROCESS_DATA 5011
#define ID_WINDOW_MENU 5012
#define ID_CLASS_ICONS 5013
#define ID_WINDOW_PROPERTIES 5014
#define ID_SHOW_WINDOW 5015
#define ID_HIDE_WINDOW 5016
#define ID_TOGGLE_VISIBLE 5017
#define ID_ENABLE_WINDOW 5018
#define ID_DISABLE_WINDOW 5019
#define ID_TOGGLE_ENABLED 5020
#define ID_MAXIMIZE_WINDOW 5021
#define ID_MINIMIZE_WINDOW 5022
#define ID_RESTORE_WINDOW 5023
#define ID_CLOSE_WINDOW 5024
#define ID_REPAINT_WINDOW 5025
#define ID_CAPTURE_PARENT 5026
#define ID_CAPTURE_OWNER 5027
#define ID_CAPTURE_NEXT 5028
#define ID_CAPTURE_PREVIOUS 5029
#define ID_MODULE_RESOURCES 5030
#define ID_DIRECTORY_CHECK 30058
#define ID_MODULE_GENERAL_DATA 30068
#define ID_MODULE_HEADERS 30069
#define ID_SERVICES_MANAGER 30070

// The framework's standard commands and control IDs.
#define ID_FILE_SAVE 57603
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139
#define AFX_IDW_TOOLBAR 59392
#define AFX_IDW_STATUS_BAR 59393
#define IDW_TOOLBAR_STRIP 59419
#define AFX_IDW_PANE_FIRST 59648

// The shared small icons, in the order the image list appends them.
#define IDI_P_DIAMOND 1001
#define IDI_COMPUTER 1002
#define IDI_WINDOW 1003
#define IDI_CHILD_WINDOW 1004
#define IDI_HIDDEN_WINDOW 1005
#define IDI_HIDDEN_CHILD 1006
#define IDI_MENU_ITEM 1007
#define IDI_SUBMENU 1008
#define IDI_SEPARATOR 1009
#define IDI_COMPONENT_DOC 1010
#define IDI_TITLED_WINDOW 1011
#define IDI_QUESTION_DOC 1012
#define IDI_PROCESS_TREE 1013
#define IDI_OPEN_FOLDER 1014
#define IDI_CLOSED_FOLDER 1015
#define IDI_KEYS 1016
#define IDI_PICTURE 1017
#define IDI_DIALOG 1018
#define IDI_GRID_PAGE 1019
#define IDI_TWO_BUTTONS 1020
#define IDI_STACKED_BARS 1021
#define IDI_ABC 1022
#define IDI_VERSION 1023
#define IDI_QUESTION_MARK 1024
#define IDI_CURSOR 1025
#define IDI_INFO 30057
#define IDI_PLUS 30058
#define IDI_DOUBLE_ARROW 30059
#define IDI_WARNING_TRIANGLE 30060
#define IDI_CROSS 30061

// ---- Dialogs ----
// Templates.
#define IDD_ABOUTBOX 2001
#define IDD_WINDOW_LIST 2002
#define IDD_PROCESSES 2003
#define IDD_CHILD_WINDOWS 2006
#define IDD_STYLE_EDIT 2007
#define IDD_STYLE_LIST 2008
#define IDD_CLASS_ICONS 2010
#define IDD_WINDOW_PROPS 2011

// Dialog toolbars: each is a resource of type RT_TOOLBAR_BUTTONS with a
// BITMAP of the same ID (16x15 images). Larger drawings of the same images
// for 150% and 200% screens have the IDs of QM_TOOLBAR_BITMAP_150/200.
#define IDR_WINDOW_LIST_TOOLBAR 2002
#define IDR_PROCESSES_TOOLBAR 2003
#define IDR_CHILD_WINDOWS_TOOLBAR 2006
#define IDR_STRING_PAGE_TOOLBAR 2016
#define IDR_BITMAP_PAGE_TOOLBAR 2017
#define IDR_MENU_PAGE_TOOLBAR 30037

// Commands of the dialog toolbars (IDCANCEL, 2, closes).
#define IDC_CHILD_WINDOWS 3101
#define IDC_MODULES 3102
#define IDC_THREADS 3103
#define IDC_RESOURCES 3104
#define IDC_KILL_PROCESS 3105
#define IDC_CAPTURE 3106
#define IDC_TOGGLE_ENABLED 3107
#define IDC_TOGGLE_VISIBLE 3108
#define IDC_MAXIMIZE 3109
#define IDC_MINIMIZE 3110
#define IDC_RESTORE 3111
#define IDC_CLOSE_WINDOW 3112
#define IDC_SAVE_AS_RESOURCE 3118
#define IDC_SHOW_UNNAMED 3201
#define IDC_SHOW_SECONDARY 3202
#define IDC_SHOW_HIDDEN 3203
#define IDC_SHOW_MENU 30047
#define IDC_SAVE_AS_TEXT 30050
#define IDC_SAVE_AS_BITMAP 30053
#define IDC_TEST_DIALOG 30067

// Controls.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDC_STYLE_ADD 3113
#define IDC_STYLE_DELETE 3114
#define IDC_PROPS_MAXIMIZED 3208
#define IDC_PROPS_MINIMIZED 3209
#define IDC_PROPS_ENABLED 3210
#define IDC_PROPS_VISIBLE 3211
#define IDC_ABOUT_LINE1 3304
#define IDC_ABOUT_LINE2 3305
#define IDC_ABOUT_LINE3 3306
// The hidden static a dialog toolbar takes the place of; in the About box
// the same ID is the link line.
#define IDC_TOOLBAR_PLACEHOLDER 3307
#define IDC_ABOUT_LINK 3307
#define IDC_ABOUT_ICON 3310
#define IDC_STYLE_HEX 3401
#define IDC_PROPS_TITLE 3409
#define IDC_PROPS_BOTTOM 3410
#define IDC_PROPS_RIGHT 3411
#define IDC_PROPS_TOP 3412
#define IDC_PROPS_LEFT 3413
#define IDC_PROPS_CLIENT_LEFT 3414
#define IDC_PROPS_CLIENT_TOP 3415
#define IDC_PROPS_CLIENT_RIGHT 3416
#define IDC_PROPS_CLIENT_BOTTOM 3417
#define IDC_STYLE_LIST 3501
#define IDC_GROUP_BOX 3504
#define IDC_LARGE_ICON 3509
#define IDC_SMALL_ICON 3510

// The window list, the child-window tree and the processes dialog.
#define IDC_WINDOW_COUNT 3301
#define IDC_PROCESS_COUNT 3302
#define IDC_ITEM_LIST 3503
#define IDC_ITEM_TREE 3505
#define IDC_VIEW_TABS 3507

// The About box's animation: a window, with a hammer, with a hammer and a
// screwdriver, with a screwdriver.
#define IDI_ABOUT_FRAME1 30038
#define IDI_ABOUT_FRAME2 30039
#define IDI_ABOUT_FRAME3 30041
#define IDI_ABOUT_FRAME4 30042

// ---- Process and module information ----
#define IDD_PROCESS_INFO 2004
#define IDD_MODULE_INFO 2005
// The module buttons of both dialogs.
#define IDC_MODULE_ADVANCED 3117
#define IDC_MODULE_RESOURCES IDC_RESOURCES
#define IDC_MODULE_HEADERS 30064
#define IDC_MODULE_READ_ONLY 3204
#define IDC_MODULE_SYSTEM 3205
#define IDC_MODULE_HIDDEN 3206
#define IDC_MODULE_COMPRESSED 3207
#define IDC_INFO_COUNT 3303
#define IDC_PROCESS_PID 3402
#define IDC_PROCESS_EXE 3403
#define IDC_MODULE_PATH 3404
#define IDC_MODULE_SIZE 3405
#define IDC_MODULE_CREATED 3406
#define IDC_MODULE_ACCESSED 3407
#define IDC_MODULE_WRITTEN 3408
#define IDC_PROCESS_PROGRESS 3506
#define IDC_MODULE_ICON 3508

// ---- Module resources browser and its pages ----
#define IDD_MODULE_RESOURCES 2013
#define IDD_LIST_RES_PAGE 2014
#define IDD_HEX_RES_PAGE 2015
#define IDD_STRING_RES_PAGE 2016
#define IDD_BITMAP_RES_PAGE 2017
#define IDD_ICON_RES_PAGE 2018
#define IDD_MENU_RES_PAGE 30037
// The hidden static whose rectangle a page (or an embedded page) fills.
#define IDC_PAGE_PLACEHOLDER 3308
// The image page's scroll bars, along its bottom and its right side.
#define IDC_IMAGE_HSCROLL 3511
#define IDC_IMAGE_VSCROLL 3512

// ---- Dialog test window ----
#define IDD_DIALOG_TEST 30056

// ---- Resource browser: the statistics list page and the icon group page ----
// The selected image of the icon group page (the About box's icon has the
// same number).
#define IDC_RESOURCE_PICTURE IDC_ABOUT_ICON

// The hex page's dump and the total under it; the string page's count.
#define IDC_RESOURCE_TOTAL 3309
#define IDC_STRING_COUNT 3311

// ---- Resource browser: the menu page ----
// The statistics list and the items tree are IDC_ITEM_LIST and IDC_ITEM_TREE;
// the item's ID and the Checked, Popup menu and Grayed boxes share the menu
// item dialog's numbers. The type box has a number of its own: the toolbar's
// "Mostrar menú" is IDC_SHOW_MENU, and the box's notifications must not read
// as a click on it.
#define IDC_MENU_ITEM_TYPE 30046
#define IDC_MENU_ITEM_BREAK 30048
#define IDC_MENU_ITEM_RADIO_CHECK 30049
#define IDC_MENU_ITEM_RIGHT_JUSTIFY 30058
#define IDC_MENU_ITEM_RIGHT_ORDER 30059
#define IDC_MENU_ITEM_DISABLED 30061
#define IDC_MENU_ITEM_HILITE 30063
#define IDC_MENU_ITEM_DEFAULT 30064
#define IDC_HEX_DUMP 3420

// ---- The window menu editor and its item dialog ----
#define IDD_WINDOW_MENU 2009
#define IDD_MENU_ITEM 2012
// The Insert button's pop-up ("Menus") and its entries; only the first acts.
#define IDR_INSERT_MENU 129
#define ID_INSERT_MENU_ITEM 5031
#define ID_INSERT_MENU_SEPARATOR 5032
#define ID_INSERT_SUBMENU 5033
#define IDC_MENU_INSERT IDC_STYLE_ADD
#define IDC_MENU_DELETE IDC_STYLE_DELETE
#define IDC_MENU_EDIT 3115
#define IDC_MENU_EXECUTE 3116
#define IDC_MENU_STATES 3502
#define IDC_MENU_TREE IDC_ITEM_TREE
#define IDC_MENU_ITEM_ID 3418
#define IDC_MENU_ITEM_TITLE 3419
#define IDC_MENU_ITEM_SEPARATOR 3212
#define IDC_MENU_ITEM_CHECKED 3213
#define IDC_MENU_ITEM_POPUP 3214
#define IDC_MENU_ITEM_GRAYED 3215
#define IDC_MENU_ITEM_INACTIVE 3216

// ---- Module headers ----
#define IDD_MODULE_HEADERS 30062
// The mode radio buttons (the same numbers as the frame's module commands;
// they live only inside the dialog).
#define IDC_SUMMARY_MODE 30068
#define IDC_COMPLETE_MODE 30069

// ---- Resources out ----
#define IDC_SAVE_ICON_FILE 5150
#define IDC_EXTRACT_ALL 5151
#define IDC_EXTRACT_PROGRESS 5152
#define IDC_EXTRACT_STATUS 5153
#define IDD_EXTRACT_PROGRESS 30110

// ---- The window list's search ----
#define IDC_WINDOW_SEARCH 5170

// ---- The message log ----
#define IDD_MESSAGE_LOG 30100
#define IDD_MESSAGE_FILTER 30101
// The frame's command, and the button of the window list and the
// child-window tree that opens the log of the selected window.
#define ID_MESSAGE_LOG 5110
#define IDC_MESSAGES 5111
// The log window's buttons, list and status line.
#define IDC_LOG_START 5112
#define IDC_LOG_STOP 5113
#define IDC_LOG_CLEAR 5114
#define IDC_LOG_FILTER 5115
#define IDC_LOG_CHILDREN 5116
#define IDC_LOG_SAVE 5117
#define IDC_LOG_FIND_TEXT 5118
#define IDC_LOG_FIND 5119
#define IDC_LOG_LIST 5120
#define IDC_LOG_STATUS 5121
// The filter dialog: one box per group, in MessageGroup's order, then the
// single-message rules.
#define IDC_FILTER_GROUP_FIRST 5122
#define IDC_FILTER_GROUP_LAST 5129
#define IDC_FILTER_MESSAGE 5130
#define IDC_FILTER_INCLUDE 5131
#define IDC_FILTER_EXCLUDE 5132
#define IDC_FILTER_ADD 5133
#define IDC_FILTER_REMOVE 5134
#define IDC_FILTER_RULES 5135

// ---- The outline of a window on screen ----
// The frame's command that flashes the outline round the captured window.
#define ID_HIGHLIGHT_WINDOW 5171

// ---- Finding a window ----
#define IDD_FIND_WINDOW 30115
// The frame's command (Ctrl+F), then the dialog's controls.
#define ID_FIND_WINDOW 5176
#define IDC_FIND_TEXT 5177
#define IDC_FIND_BY_HANDLE 5178
#define IDC_FIND_BY_TITLE 5179
#define IDC_FIND_BY_CLASS 5180
#define IDC_FIND_BY_PID 5181
#define IDC_FIND_EXACT 5182
#define IDC_FIND_RESULTS 5183
#define IDC_FIND_COUNT 5184
#define IDC_FIND_CAPTURE 5185
