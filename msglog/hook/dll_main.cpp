// The hook library: the WH_GETMESSAGE procedure, exported by a plain name so
// Quillmar finds it with GetProcAddress in either bitness. DllMain does
// nothing: the library stays loaded in the target after the hook is gone
// (it pins itself once it subclasses a window), and everything it holds is
// let go by the session itself.
#include <windows.h>

#include "msglog/hook/hook_procs.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" {
__declspec(dllexport) LRESULT CALLBACK QmGetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
  return qm::hook::GetMsgProc(code, wParam, lParam);
}
}
