#pragma once
// The windows of the desktop as records for a script: the top-level windows
// the window list's filters let through, or with them the whole tree of
// their descendants, each with its relations, texts, rectangle, styles,
// state and process; written as JSON or as one line of text per window.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "common/geometry.h"
#include "platform/platform.h"
#include "platform/windows.h"
#include "windows/window_list_model.h"

namespace qm {

struct WindowRecord {
  WindowHandle handle = 0;
  WindowHandle parent = 0;  // 0 for a top-level window
  WindowHandle owner = 0;
  std::string className;
  std::string title;
  Rect rect;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  bool visible = false;
  bool enabled = false;
  uint32_t processId = 0;
  uint32_t threadId = 0;
  std::optional<std::string> exePath;  // none: the process could not be read (gone, denied)
  int depth = 0;                       // 0 for a top-level window
};

struct WindowRecordOptions {
  WindowListFilters filters;  // which top-level windows, as the window list means them
  bool tree = false;          // each top-level window followed by all its descendants
};

// Top of the Z order first; with a tree, each window followed by its whole
// subtree (depth first, in Z order). A window that goes away while it is
// read, and any child whose parent is not in the list, is left out.
std::vector<WindowRecord> ReadWindowRecords(Platform& platform, const WindowRecordOptions& options);

// A JSON array of the records; with a tree, each record's descendants in its
// "children" array.
void WriteWindowRecordsJson(std::ostream& out, const std::vector<WindowRecord>& records, bool tree);
// One tab-separated line per window, two spaces of indent per level:
// handle, parent, owner, class, title, rectangle, style, extended style,
// visibility, enabled state, PID, thread and executable.
void WriteWindowRecordsText(std::ostream& out, const std::vector<WindowRecord>& records);

}  // namespace qm
