/* A dialog-like window with a menu bar, an enabled and a disabled button for
   the capture-by-dragging test and the menu editor. It writes the disabled button's handle and the
   centre of its screen rectangle to the file named by its argument, then
   runs until closed (or for two minutes at most). */
#include <stdio.h>
#include <windows.h>

static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show) {
  WNDCLASSW wc = {0};
  HWND dialog, disabled;
  HMENU bar = CreateMenu(), file = CreatePopupMenu(), help = CreatePopupMenu();
  RECT r;
  FILE* out;
  MSG msg;
  (void)prev;
  (void)show;
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"QuillmarE2EDialog";
  RegisterClassW(&wc);
  AppendMenuW(file, MF_STRING, 101, L"&Abrir...\tCtrl+O");
  AppendMenuW(file, MF_STRING | MF_CHECKED, 102, L"&Guardar");
  AppendMenuW(file, MF_SEPARATOR, 0, NULL);
  AppendMenuW(file, MF_STRING | MF_GRAYED, 103, L"&Salir");
  AppendMenuW(help, MF_STRING, 201, L"Acerca de...");
  AppendMenuW(bar, MF_POPUP, (UINT_PTR)file, L"&Archivo");
  AppendMenuW(bar, MF_POPUP, (UINT_PTR)help, L"A&yuda");
  dialog = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Quillmar E2E", WS_POPUP | WS_CAPTION | WS_VISIBLE, 700,
                           300, 320, 220, NULL, bar, inst, NULL);
  CreateWindowExW(0, L"BUTTON", L"Activado", WS_CHILD | WS_VISIBLE, 20, 20, 120, 40, dialog, (HMENU)1, inst, NULL);
  disabled = CreateWindowExW(0, L"BUTTON", L"Desactivado", WS_CHILD | WS_VISIBLE | WS_DISABLED, 20, 90, 120, 40, dialog,
                             (HMENU)2, inst, NULL);
  UpdateWindow(dialog);
  GetWindowRect(disabled, &r);
  out = fopen(cmd, "w");
  if (!out) return 1;
  fprintf(out, "%llu %ld %ld\n", (unsigned long long)(ULONG_PTR)disabled, (r.left + r.right) / 2,
          (r.top + r.bottom) / 2);
  fclose(out);
  SetTimer(dialog, 1, 120000, NULL);
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    if (msg.message == WM_TIMER) break;
    DispatchMessageW(&msg);
  }
  return 0;
}
