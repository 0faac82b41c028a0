#pragma once
// The rows of the window list: the top-level windows of the desktop in Z
// order, kept or left out by three filters, each with its handle, title,
// class and the executable of its process.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/windows.h"

namespace qm {

struct WindowListFilters {
  bool showHidden = false;
  bool showUnnamed = false;
  bool showSecondary = false;  // windows with an owner
};

struct WindowListRow {
  WindowHandle window = 0;
  int image = 0;
  // Handle "0x%08x", title, class, executable or "PID = %u (0x%x)".
  std::array<std::string, 4> texts;
};

// Each process is opened once per fill, however many windows it has.
std::vector<WindowListRow> FillWindowList(Platform& platform, const WindowListFilters& filters);

// The counter under the list: "N ventana(s) obtenida(s)" without a search;
// with one, "N de M ventana(s)", M the rows the filters allow.
std::string WindowCountText(const IStrings& strings, size_t shown, size_t allowed, bool searching);

// "0x%08x": eight lower-case digits, so the texts sort as the numbers do.
std::string ListHandleText(WindowHandle window);

}  // namespace qm
