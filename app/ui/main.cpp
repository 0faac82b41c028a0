#include "app/ui/quillmar_app.h"
#include "platform/win32/win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  qm::CQuillmarApp app(qm::SystemPlatform());
  return app.Main();
}
