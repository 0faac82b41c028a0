#pragma once
// "Buscar ventana...": the windows of the desktop that answer one question,
// by handle, by title or class (a part of it or the whole text, ignoring
// case as the user's locale does), or by the process that owns them. The
// handle and the process ID are checked before anything is searched, so a
// typing mistake is told and never reads as "nothing found".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/windows.h"

namespace qm {

enum class FindWindowBy { Handle, Title, Class, ProcessId };

struct FindWindowRequest {
  FindWindowBy by = FindWindowBy::Title;
  std::string text;
  // Title and class: the whole text, not a part of it.
  bool exact = false;
};

struct FoundWindow {
  WindowHandle window = 0;
  std::string className;
  std::string title;
  uint32_t processId = 0;
};

struct FindWindowOutcome {
  // Set when the handle or the process ID typed is not one: the message to
  // show, and nothing was searched.
  std::string malformed;
  // Top-level windows in Z order, each followed by its descendants.
  std::vector<FoundWindow> matches;
};

// A handle as the program writes it: hexadecimal, with or without "0x",
// optionally in the property tree's brackets; never 0.
std::optional<WindowHandle> ParseWindowHandle(std::string_view text);
// A process ID in decimal, or in hexadecimal after "0x".
std::optional<uint32_t> ParseProcessId(std::string_view text);

// A handle names that window (child or top-level); a title or class is
// looked for in every window of the desktop; a process ID gives the
// process's top-level windows, hidden ones too. The walks pass over asker
// and its descendants: the dialog that asks holds the very text searched.
FindWindowOutcome FindWindows(Platform& platform, const FindWindowRequest& request, WindowHandle asker = 0);

// The message when nothing matched, naming what was searched.
std::string NothingFoundText(const IStrings& strings, const FindWindowRequest& request);

}  // namespace qm
