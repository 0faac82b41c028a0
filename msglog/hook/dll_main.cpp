// The hook library: the three hook procedures, exported by plain names so
// Quillmar finds them with GetProcAddress in either bitness. DllMain does
// nothing: the library may stay loaded in the target after the hooks are
// gone, and everything it holds is let go by the session itself.
#include <windows.h>

#include "msglog/hook/hook_procs.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" {
__declspec(dllexport) LRESULT CALLBACK QmCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
  return qm::hook::CallWndProc(code, wParam, lParam);
}
__declspec(dllexport) LRESULT CALLBACK QmCallWndRetProc(int code, WPARAM wParam, LPARAM lParam) {
  return qm::hook::CallWndRetProc(code, wParam, lParam);
}
__declspec(dllexport) LRESULT CALLBACK QmGetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
  return qm::hook::GetMsgProc(code, wParam, lParam);
}
}
