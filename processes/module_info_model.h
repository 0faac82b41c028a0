#pragma once
// What the module information dialog shows of one module file: its size,
// three dates and four attributes as the file system gives them, and the
// twelve string fields of its version block beside their labels. Portable:
// the dialog only moves these texts to its controls.

#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qm {

struct ModuleFileFields {
  std::string size;  // "1.234.567": the whole 64-bit length
  std::string created;
  std::string accessed;
  std::string written;
  bool readOnly = false;
  bool system = false;
  bool hidden = false;
  bool compressed = false;
};

// The fields of the first file that matches the path; all empty and false
// when none is found, so a file deleted since the last refresh no longer
// shows its old data. Dates are the local date only, in the user's locale.
ModuleFileFields ReadModuleFileFields(const Platform& platform, const std::string& path);

struct VersionRow {
  std::array<std::string, 2> cells;  // label, value
};

constexpr size_t kVersionRowCount = 12;

// Twelve rows, product name to special build, present even when the file
// has no version block (their values are then empty). An empty path reads
// the program's own executable, as the version reader does.
std::vector<VersionRow> ReadVersionRows(const Platform& platform, const std::string& path);

}  // namespace qm
