#include "windows/window_records.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <unordered_map>

#include "common/text.h"
#include "common/tree_model.h"
#include "processes/process_info.h"
#include "windows/window_array.h"

namespace qm {

namespace {

// Reads the records of one walk, asking each process for its executable
// once however many windows it has.
class RecordReader {
 public:
  explicit RecordReader(Platform& platform) : windows_(*platform.windows), process_(platform, ProcessSource::Psapi) {}

  // None when the window went away while it was read.
  std::optional<WindowRecord> Read(WindowHandle window, uint64_t style) {
    WindowRecord record;
    record.handle = window;
    if (!windows_.GetWindowRect(window, record.rect)) return std::nullopt;
    record.threadId = windows_.GetWindowThreadProcessId(window, &record.processId);
    if (record.threadId == 0) return std::nullopt;
    record.style = static_cast<uint32_t>(style);
    record.exStyle = static_cast<uint32_t>(windows_.GetWindowLongPtr(window, GWL_EXSTYLE));
    record.owner = windows_.GetWindow(window, GW_OWNER);
    record.className = windows_.GetClassName(window);
    record.title = windows_.GetWindowText(window, windows_.GetWindowTextLength(window) + 1);
    // IsWindowEnabled reads this same bit.
    record.enabled = (style & WS_DISABLED) == 0;
    record.visible = (style & WS_VISIBLE) != 0;
    auto known = executables_.find(record.processId);
    if (known == executables_.end()) {
      std::optional<std::string> path;
      if (process_.ReadProcess(record.processId)) path = process_.m_strExePath;
      known = executables_.emplace(record.processId, std::move(path)).first;
    }
    record.exePath = known->second;
    return record;
  }

  // The window's descendants, each placed under the parent the window
  // manager names, appended to out depth first.
  void AppendDescendants(const WindowRecord& top, std::vector<WindowRecord>& out) {
    CWindowArray descendants(windows_, top.handle);
    if (descendants.EnumChildren(true) <= 0) return;
    // Collected first and placed afterwards, so a window moved to another
    // parent during the walk still lands under the one it names.
    std::vector<WindowRecord> found{top};
    std::vector<std::vector<size_t>> children(1);
    std::unordered_map<WindowHandle, size_t> index{{top.handle, 0}};
    for (WindowHandle child : descendants.m_handles) {
      const auto parent = index.find(windows_.GetParent(child));
      if (parent == index.end()) continue;
      auto record = Read(child, windows_.GetWindowLongPtr(child, GWL_STYLE));
      if (!record) continue;
      record->parent = found[parent->second].handle;
      // Visible only when every ancestor is: the parent's answer already
      // holds its own ancestors'.
      record->visible = record->visible && found[parent->second].visible;
      const size_t at = found.size();
      children[parent->second].push_back(at);
      index.emplace(child, at);
      found.push_back(std::move(*record));
      children.emplace_back();
    }
    // Depth first without recursion: a deep tree cannot exhaust the stack.
    std::vector<std::pair<size_t, size_t>> stack;  // node, next child to visit
    stack.emplace_back(0, 0);
    while (!stack.empty()) {
      auto& [node, next] = stack.back();
      if (next == children[node].size()) {
        stack.pop_back();
        continue;
      }
      const size_t child = children[node][next++];
      found[child].depth = top.depth + static_cast<int>(stack.size());
      out.push_back(found[child]);
      stack.emplace_back(child, 0);
    }
  }

 private:
  const IWindowSystem& windows_;
  CProcessInfo process_;
  std::map<uint32_t, std::optional<std::string>> executables_;
};

// Tabs and line ends would split the line of a window in the text output.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return text;
}

std::string HandleText(WindowHandle window) {
  return window == 0 ? "0x0" : Format("0x%08llX", static_cast<unsigned long long>(window));
}

void WriteRecordFields(std::ostream& out, const WindowRecord& r) {
  out << "{\"handle\":" << JsonHandle(r.handle) << ",\"parent\":" << JsonHandle(r.parent)
      << ",\"owner\":" << JsonHandle(r.owner) << ",\"class\":" << JsonString(r.className)
      << ",\"title\":" << JsonString(r.title) << ",\"rect\":{\"left\":" << r.rect.left << ",\"top\":" << r.rect.top
      << ",\"right\":" << r.rect.right << ",\"bottom\":" << r.rect.bottom << "},\"style\":" << r.style
      << ",\"exstyle\":" << r.exStyle << ",\"visible\":" << (r.visible ? "true" : "false")
      << ",\"enabled\":" << (r.enabled ? "true" : "false") << ",\"pid\":" << r.processId << ",\"tid\":" << r.threadId
      << ",\"exe\":" << (r.exePath ? JsonString(*r.exePath) : "null");
}

}  // namespace

std::vector<WindowRecord> ReadWindowRecords(Platform& platform, const WindowRecordOptions& options) {
  std::vector<WindowRecord> records;
  if (!platform.windows) return records;
  const IWindowSystem& windows = *platform.windows;
  RecordReader reader(platform);
  CWindowArray topLevel(windows);
  std::vector<uint64_t> styles;
  topLevel.EnumTopLevel(&styles);
  const WindowListFilters& filters = options.filters;
  for (size_t i = 0; i < std::min(styles.size(), topLevel.m_handles.size()); ++i) {
    const WindowHandle window = topLevel.m_handles[i];
    auto record = reader.Read(window, styles[i]);
    if (!record) continue;
    // The window list's filters: a pop-up with an owner is a secondary
    // window, as GetParent names the owner of pop-ups only.
    if (!filters.showHidden && !record->visible) continue;
    if (!filters.showUnnamed && record->title.empty()) continue;
    if (!filters.showSecondary && (record->style & WS_POPUP) != 0 && record->owner != 0) continue;
    records.push_back(std::move(*record));
    if (options.tree) reader.AppendDescendants(WindowRecord(records.back()), records);
  }
  return records;
}

void WriteWindowRecordsJson(std::ostream& out, const std::vector<WindowRecord>& records, bool tree) {
  out << "[";
  int open = 0;  // the depth of the last record written, whose children may follow
  for (size_t i = 0; i < records.size(); ++i) {
    const WindowRecord& r = records[i];
    // A record deeper than one level below the last is taken as its child.
    const int depth = tree ? std::clamp(r.depth, 0, i == 0 ? 0 : open + 1) : 0;
    if (i > 0) {
      if (depth == open + 1) {
        // The first child: the children array of the last record is open.
      } else {
        // Closes the last record and its ancestors down to this one's level.
        for (int level = open; level >= depth; --level) out << (tree ? "]}" : "}");
        out << (depth == 0 ? ",\n" : ",");
      }
    } else {
      out << "\n";
    }
    WriteRecordFields(out, r);
    if (tree) out << ",\"children\":[";
    open = depth;
  }
  if (!records.empty()) {
    for (int level = open; level >= 0; --level) out << (tree ? "]}" : "}");
    out << "\n";
  }
  out << "]\n";
}

void WriteWindowRecordsText(std::ostream& out, const std::vector<WindowRecord>& records) {
  for (const WindowRecord& r : records) {
    out << std::string(2 * static_cast<size_t>(std::max(r.depth, 0)), ' ') << HandleText(r.handle) << '\t'
        << HandleText(r.parent) << '\t' << HandleText(r.owner) << '\t' << OneLine(r.className) << '\t'
        << OneLine(r.title) << '\t' << Format("%d,%d,%d,%d", r.rect.left, r.rect.top, r.rect.right, r.rect.bottom)
        << '\t' << Format("0x%08X\t0x%08X", r.style, r.exStyle) << '\t' << (r.visible ? "visible" : "hidden") << '\t'
        << (r.enabled ? "enabled" : "disabled") << '\t' << r.processId << '\t' << r.threadId << '\t'
        << (r.exePath ? OneLine(*r.exePath) : std::string("-")) << '\n';
  }
}

}  // namespace qm
