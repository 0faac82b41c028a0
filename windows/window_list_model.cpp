#include "windows/window_list_model.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

#include "common/text.h"
#include "processes/process_info.h"
#include "res/string_ids.h"
#include "windows/window_actions.h"
#include "windows/window_array.h"

namespace qm {
namespace {

// GetClassLongPtr's index of the class atom (GCW_ATOM).
constexpr int kClassAtom = -32;

}  // namespace

std::string ListHandleText(WindowHandle window) { return Format("0x%08llx", static_cast<unsigned long long>(window)); }

std::string WindowCountText(const IStrings& strings, size_t shown, size_t allowed, bool searching) {
  if (!searching) return std::to_string(shown) + " " + strings.LoadString(IDS_WINDOWS_FOUND);
  return FormatTable(strings.LoadString(IDS_WINDOWS_MATCHING), {std::to_string(shown), std::to_string(allowed)});
}

std::vector<WindowListRow> FillWindowList(Platform& platform, const WindowListFilters& filters) {
  const IWindowSystem& windows = *platform.windows;
  std::vector<WindowListRow> rows;
  CWindowArray topLevel(windows);
  std::vector<uint64_t> styles;
  topLevel.EnumTopLevel(&styles);
  CProcessInfo process(platform, ProcessSource::Psapi);
  // The executable of each process asked so far (none: it could not be read).
  std::map<uint32_t, std::optional<std::string>> executables;
  // The name of each class atom met so far. Another program's class name
  // costs the window server two questions (the class's atom, then the
  // atom's name), its atom one; a desktop has few classes and many windows.
  // A class's name never changes while a window of it exists, so the atom
  // names it for the whole fill.
  std::unordered_map<uint64_t, std::string> classNames;
  // Each question about another program's window is a round trip to the
  // window server, and a desktop has thousands: the style the walk read
  // answers both the visibility of a top-level window (the desktop above it
  // is always visible) and whether GetParent would name its owner (a
  // pop-up's only).
  for (size_t index = 0; index < std::min(styles.size(), topLevel.m_handles.size()); ++index) {
    const WindowHandle window = topLevel.m_handles[index];
    const uint64_t style = styles[index];
    const bool visible = (style & WS_VISIBLE) != 0;
    if (!filters.showHidden && !visible) continue;
    std::string title = windows.GetWindowText(window, 256);
    if (!filters.showUnnamed && title.empty()) continue;
    const WindowHandle parent = (style & WS_POPUP) != 0 ? windows.GetWindow(window, GW_OWNER) : 0;
    if (!filters.showSecondary && parent != 0) continue;
    WindowListRow row;
    row.window = window;
    row.image = WindowImageIndex(visible, parent != 0);
    row.texts[0] = ListHandleText(window);
    row.texts[1] = std::move(title);
    const uint64_t atom = windows.GetClassLongPtr(window, kClassAtom);
    const auto named = classNames.find(atom);
    if (named != classNames.end()) {
      row.texts[2] = named->second;
    } else {
      row.texts[2] = windows.GetClassName(window);
      // A window gone meanwhile has no atom, or no name to give its atom.
      if (atom != 0 && !row.texts[2].empty()) classNames.emplace(atom, row.texts[2]);
    }
    // A window gone meanwhile leaves the ID at 0.
    uint32_t processId = 0;
    windows.GetWindowThreadProcessId(window, &processId);
    auto known = executables.find(processId);
    if (known == executables.end()) {
      std::optional<std::string> exe;
      if (process.ReadProcess(processId)) exe = process.m_strExeName;
      known = executables.emplace(processId, std::move(exe)).first;
    }
    row.texts[3] = known->second ? *known->second : Format("PID = %u (0x%x)", processId, processId);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace qm
