#include "windows/find_window.h"

#include "common/text.h"
#include "res/string_ids.h"
#include "windows/window_array.h"
#include "windows/window_list_model.h"

namespace qm {
namespace {

// Titles longer than this are compared by their start: far past what a
// caption shows, and an edit control's whole text is never read.
constexpr int kTitleChars = 1024;

std::string_view Trimmed(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

bool StripHexPrefix(std::string_view& text) {
  if (text.size() < 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
  text.remove_prefix(2);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits of the base and nothing else, for a value no larger than limit.
std::optional<uint64_t> ParseDigits(std::string_view digits, unsigned base, uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    const int digit = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    if (value > (limit - static_cast<uint64_t>(digit)) / base) return std::nullopt;
    value = value * base + static_cast<uint64_t>(digit);
  }
  return value;
}

FoundWindow Describe(const IWindowSystem& windows, WindowHandle window) {
  FoundWindow found;
  found.window = window;
  found.className = windows.GetClassName(window);
  found.title = windows.GetWindowText(window, kTitleChars);
  windows.GetWindowThreadProcessId(window, &found.processId);
  return found;
}

bool TextMatches(const std::string& folded, const std::string& wanted, bool exact) {
  return exact ? folded == wanted : folded.find(wanted) != std::string::npos;
}

}  // namespace

std::optional<WindowHandle> ParseWindowHandle(std::string_view text) {
  text = Trimmed(text);
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') text = Trimmed(text.substr(1, text.size() - 2));
  StripHexPrefix(text);
  const auto value = ParseDigits(text, 16, UINT64_MAX);
  if (!value || *value == 0) return std::nullopt;
  return *value;
}

std::optional<uint32_t> ParseProcessId(std::string_view text) {
  text = Trimmed(text);
  const unsigned base = StripHexPrefix(text) ? 16 : 10;
  const auto value = ParseDigits(text, base, UINT32_MAX);
  if (!value) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

FindWindowOutcome FindWindows(Platform& platform, const FindWindowRequest& request, WindowHandle asker) {
  const IWindowSystem& windows = *platform.windows;
  const IStrings& strings = *platform.strings;
  FindWindowOutcome outcome;
  switch (request.by) {
    case FindWindowBy::Handle: {
      const auto handle = ParseWindowHandle(request.text);
      if (!handle) {
        outcome.malformed = FormatTable(strings.LoadString(IDS_FIND_BAD_HANDLE), {request.text});
      } else if (windows.IsWindow(*handle)) {
        outcome.matches.push_back(Describe(windows, *handle));
      }
      return outcome;
    }
    case FindWindowBy::ProcessId: {
      const auto processId = ParseProcessId(request.text);
      if (!processId) {
        outcome.malformed = FormatTable(strings.LoadString(IDS_FIND_BAD_PROCESS_ID), {request.text});
        return outcome;
      }
      CWindowArray topLevel(windows);
      topLevel.EnumTopLevelOfProcess(*processId);
      for (WindowHandle window : topLevel.m_handles) {
        if (window == asker) continue;
        FoundWindow found = Describe(windows, window);
        // A window that closed meanwhile no longer belongs to the process.
        if (found.processId == *processId) outcome.matches.push_back(std::move(found));
      }
      return outcome;
    }
    case FindWindowBy::Title:
    case FindWindowBy::Class:
      break;
  }
  const ILocale& locale = *platform.locale;
  const bool byTitle = request.by == FindWindowBy::Title;
  const std::string wanted = locale.LCMapLowerCase(request.text);
  const auto consider = [&](WindowHandle window) {
    const std::string text = byTitle ? windows.GetWindowText(window, kTitleChars) : windows.GetClassName(window);
    if (TextMatches(locale.LCMapLowerCase(text), wanted, request.exact))
      outcome.matches.push_back(Describe(windows, window));
  };
  CWindowArray topLevel(windows);
  topLevel.EnumTopLevel();
  for (WindowHandle top : topLevel.m_handles) {
    if (top == asker) continue;
    consider(top);
    CWindowArray descendants(windows, top);
    descendants.EnumChildren(/*allDescendants=*/true);
    for (WindowHandle child : descendants.m_handles) consider(child);
  }
  return outcome;
}

std::string NothingFoundText(const IStrings& strings, const FindWindowRequest& request) {
  switch (request.by) {
    case FindWindowBy::Handle: {
      const auto handle = ParseWindowHandle(request.text);
      return FormatTable(strings.LoadString(IDS_FIND_NO_HANDLE), {handle ? ListHandleText(*handle) : request.text});
    }
    case FindWindowBy::ProcessId: {
      const uint32_t processId = ParseProcessId(request.text).value_or(0);
      return FormatTable(strings.LoadString(IDS_FIND_NO_PROCESS_WINDOW),
                         {std::to_string(processId), Format("%x", processId)});
    }
    case FindWindowBy::Title:
      return FormatTable(strings.LoadString(request.exact ? IDS_FIND_NO_TITLE : IDS_FIND_NO_TITLE_PART),
                         {request.text});
    case FindWindowBy::Class:
      return FormatTable(strings.LoadString(request.exact ? IDS_FIND_NO_CLASS : IDS_FIND_NO_CLASS_PART),
                         {request.text});
  }
  return {};
}

}  // namespace qm
