#pragma once
// Resource IDs shared by res/quillmar.rc and the code: command, control,
// dialog and resource IDs are defined once here. String IDs live with their
// texts in res/strings.inc.

#define IDR_MAINFRAME 128
#define IDI_QUILLMAR 128
#define VS_VERSION_INFO_ID 1
