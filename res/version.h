#pragma once
// The program's version, used by the VERSIONINFO block of res/quillmar.rc.
#define QM_VERSION_MAJOR 0
#define QM_VERSION_MINOR 1
#define QM_VERSION_PATCH 0
#define QM_VERSION_BUILD 0
#define QM_VERSION_TEXT "0.1.0.0"
#define QM_WEB_ADDRESS "http://quillmar.karvonel.example/"
