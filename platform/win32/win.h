#pragma once
// <windows.h> for this program: the platform interfaces use the platform's
// own function names as method names, so the A/W macros that <windows.h>
// defines for those names are taken back here. Call the W functions by
// their full names (::LoadStringW, ::GetWindowTextW, ...).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef LoadString
#undef FormatMessage
#undef MessageBox
#undef GetModuleFileName
#undef VerLanguageName
#undef GetClassName
#undef GetWindowText
#undef GetWindowTextLength
#undef GetWindowLong
#undef GetWindowLongPtr
#undef SetWindowLong
#undef SetWindowLongPtr
#undef GetClassLong
#undef GetClassLongPtr
#undef SetWindowText
#undef Process32First
#undef Process32Next
#undef Module32First
#undef Module32Next
#undef GetModuleFileNameEx
#undef LoadLibrary
#undef PostMessage
#undef SendMessage
#undef GetMenuString
#undef GetMenuItemInfo
#undef SetMenuItemInfo
#undef InsertMenuItem
#undef LoadMenu
#undef LoadBitmap
#undef LoadIcon
#undef LoadCursor
#undef FindResource
#undef EnumResourceTypes
#undef EnumResourceNames
#undef GetFileVersionInfo
#undef GetFileVersionInfoSize
#undef VerQueryValue
#undef CreateWindow
#undef FindWindow
#undef GetFileAttributes
#undef FindFirstFile
#undef FindNextFile
#undef GetObject
