#include "dir_check/dir_walk.h"

#include <algorithm>

namespace qm::dircheck {

WalkResult WalkTree(IFileTree& tree, const std::string& root, const std::atomic<bool>& cancel,
                    const std::function<void(const WalkProgress&)>& progress) {
  WalkResult result;
  WalkProgress state;
  // Folders still to read; the last pushed is read first, so children are
  // pushed in reverse name order.
  std::vector<std::string> pending{root};
  std::vector<FileEntry> entries;
  while (!pending.empty()) {
    if (cancel.load()) {
      result.cancelled = true;
      break;
    }
    const std::string folder = std::move(pending.back());
    pending.pop_back();
    state.folder = folder;
    if (progress) progress(state);
    entries.clear();
    uint32_t error = 0;
    if (!tree.ListFolder(folder, entries, error)) {
      result.problems.push_back({ProblemKind::kUnreadableFolder, folder, tree.ErrorText(error)});
      continue;
    }
    ++state.foldersRead;
    std::sort(entries.begin(), entries.end(), [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    std::vector<std::string> subfolders;
    for (const FileEntry& entry : entries) {
      const std::string path = tree.Join(folder, entry.name);
      switch (entry.kind) {
        case EntryKind::kFolder:
          ++result.totals.folders;
          subfolders.push_back(path);
          break;
        case EntryKind::kLinkedFolder:
          ++result.totals.folders;
          break;
        case EntryKind::kBrokenLink:
          result.problems.push_back({ProblemKind::kBrokenLink, path, {}});
          break;
        case EntryKind::kFile:
          ++result.totals.files;
          ++state.filesFound;
          if (!entry.size) {
            result.problems.push_back({ProblemKind::kUnreadableSize, path, tree.ErrorText(entry.sizeError)});
            result.files.push_back({path, 0, entry.modified});
            break;
          }
          result.totals.bytes += *entry.size;
          result.files.push_back({path, *entry.size, entry.modified});
          break;
      }
    }
    pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
  }
  return result;
}

}  // namespace qm::dircheck
