#pragma once
// The directory check's walk: every file under a folder with its size and
// date, the totals, and the problems met on the way (a folder that cannot be
// read, a link whose target is gone, a file whose size cannot be read).
// Portable: it sees the disk only through IFileTree, so the rules are
// tested on real POSIX folders and run on Win32 in the tool.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qm::dircheck {

enum class EntryKind { kFile, kFolder, kLinkedFolder, kBrokenLink };

struct FileEntry {
  std::string name;
  EntryKind kind = EntryKind::kFile;
  std::optional<uint64_t> size;  // none when it could not be read
  uint32_t sizeError = 0;        // the system's code when it could not
  int64_t modified = 0;          // seconds since 1970, UTC
};

class IFileTree {
 public:
  virtual ~IFileTree() = default;
  // The entries of a folder without "." and ".."; false and the system's
  // error code when the folder cannot be read.
  virtual bool ListFolder(const std::string& path, std::vector<FileEntry>& entries, uint32_t& error) = 0;
  virtual std::string Join(const std::string& folder, const std::string& name) const = 0;
  virtual std::string ErrorText(uint32_t code) const = 0;
};

struct FileRow {
  std::string path;
  uint64_t size = 0;
  int64_t modified = 0;
};

enum class ProblemKind { kUnreadableFolder, kBrokenLink, kUnreadableSize };

struct Problem {
  ProblemKind kind;
  std::string path;
  std::string detail;  // the system's text, when there is one
};

struct WalkTotals {
  uint64_t files = 0;
  uint64_t folders = 0;  // below the root, links to folders included
  uint64_t bytes = 0;
};

struct WalkResult {
  std::vector<FileRow> files;
  std::vector<Problem> problems;
  WalkTotals totals;
  bool cancelled = false;
};

struct WalkProgress {
  uint64_t foldersRead = 0;
  uint64_t filesFound = 0;
  std::string folder;  // the folder being read
};

// Walks the tree under root: a folder's own files first, then each of its
// subfolders whole, names in order.
// Links to folders are counted but not entered, so a link cycle cannot
// trap the walk. The walk stops soon after cancel becomes true; progress is
// called on the walking thread once per folder.
WalkResult WalkTree(IFileTree& tree, const std::string& root, const std::atomic<bool>& cancel,
                    const std::function<void(const WalkProgress&)>& progress = {});

}  // namespace qm::dircheck
