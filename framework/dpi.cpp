#include "framework/dpi.h"

#include <optional>

#include "common/byte_reader.h"
#include "common/dock_layout.h"
#include "framework/controls.h"
#include "framework/resource_conventions.h"

namespace qm::fw {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Windows 10 1607 and later; older systems and some Wine versions lack it.
GetDpiForWindowFn BindGetDpiForWindow() {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  FARPROC proc = user32 ? ::GetProcAddress(user32, "GetDpiForWindow") : nullptr;
  // Through a generic function pointer: a direct cast between unrelated
  // function types draws a warning.
  return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(proc));
}

// The width and height a BITMAP resource declares, read from its header;
// nothing when the module lacks it or the header is cut short.
std::optional<SIZE> BitmapResourceSize(HINSTANCE instance, UINT id) {
  HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));  // RT_BITMAP
  if (!found) return std::nullopt;
  HGLOBAL loaded = ::LoadResource(instance, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return std::nullopt;
  ByteView bytes(static_cast<const uint8_t*>(data), ::SizeofResource(instance, found));
  auto headerSize = bytes.u32(0);
  auto width = bytes.u32(4);
  auto height = bytes.u32(8);
  if (!headerSize || *headerSize < 40 || !width || !height) return std::nullopt;
  // A top-down bitmap stores its height negated.
  const auto signedHeight = static_cast<int32_t>(*height);
  return SIZE{static_cast<int32_t>(*width), signedHeight < 0 ? -signedHeight : signedHeight};
}

struct ToolbarImages {
  UINT bitmap;
  SIZE image;
};

// The largest drawing the DPI calls for that the module has with the
// expected size (every button's image side by side); else the 16x15 one.
ToolbarImages ChooseToolbarImages(HINSTANCE instance, UINT id, UINT dpi) {
  const ToolBarLayout layout = LoadToolBarLayout(instance, id);
  const SIZE design = layout.commands.empty() ? SIZE{16, 15} : SIZE{layout.width, layout.height};
  LONG images = 0;
  for (UINT command : layout.commands) images += command != 0 ? 1 : 0;
  struct Step {
    UINT minimumDpi;
    UINT bitmap;
    LONG times;  // the drawing's size is design * times / 2, rounded down
  };
  const Step steps[] = {{192, QM_TOOLBAR_BITMAP_200(id), 4}, {144, QM_TOOLBAR_BITMAP_150(id), 3}};
  for (const Step& step : steps) {
    if (dpi < step.minimumDpi) continue;
    const SIZE image{design.cx * step.times / 2, design.cy * step.times / 2};
    const std::optional<SIZE> size = BitmapResourceSize(instance, step.bitmap);
    if (size && images > 0 && size->cy == image.cy && size->cx == image.cx * images) return {step.bitmap, image};
  }
  return {id, design};
}

}  // namespace

UINT DpiForWindow(HWND window) {
  if (!window) return kDesignDpi;
  static const GetDpiForWindowFn getDpiForWindow = BindGetDpiForWindow();
  if (getDpiForWindow) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return dpi;
  }
  HDC dc = ::GetDC(window);
  if (!dc) return kDesignDpi;
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
  ::ReleaseDC(window, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

int ScaleForDpi(int pixels, UINT dpi) { return ScaleToDpi(pixels, dpi); }

UINT ToolbarBitmapFor(HINSTANCE instance, UINT id, UINT dpi) { return ChooseToolbarImages(instance, id, dpi).bitmap; }

SIZE ToolbarImageSizeFor(HINSTANCE instance, UINT id, UINT dpi) { return ChooseToolbarImages(instance, id, dpi).image; }

}  // namespace qm::fw
