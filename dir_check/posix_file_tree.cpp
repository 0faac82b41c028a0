#include "dir_check/posix_file_tree.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace qm::dircheck {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool PosixFileTree::ListFolder(const std::string& path, std::vector<FileEntry>& entries, uint32_t& error) {
  std::unique_ptr<DIR, DirCloser> dir(::opendir(path.c_str()));
  if (!dir) {
    error = static_cast<uint32_t>(errno);
    return false;
  }
  for (;;) {
    // readdir tells its end from a failure only through errno, which the
    // stat calls below may have set.
    errno = 0;
    const dirent* item = ::readdir(dir.get());
    if (!item) {
      if (errno == 0) return true;
      error = static_cast<uint32_t>(errno);
      return false;
    }
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    const std::string full = Join(path, name);
    FileEntry entry;
    entry.name = name;
    struct stat own {};
    if (::lstat(full.c_str(), &own) != 0) {
      entry.sizeError = static_cast<uint32_t>(errno);
      entries.push_back(entry);
      continue;
    }
    entry.modified = static_cast<int64_t>(own.st_mtime);
    struct stat target = own;
    if (S_ISLNK(own.st_mode)) {
      if (::stat(full.c_str(), &target) != 0) {
        entry.kind = EntryKind::kBrokenLink;
        entries.push_back(entry);
        continue;
      }
      if (S_ISDIR(target.st_mode)) {
        entry.kind = EntryKind::kLinkedFolder;
        entries.push_back(entry);
        continue;
      }
    }
    if (S_ISDIR(target.st_mode)) {
      entry.kind = EntryKind::kFolder;
    } else {
      entry.size = static_cast<uint64_t>(target.st_size);
      entry.modified = static_cast<int64_t>(target.st_mtime);
    }
    entries.push_back(entry);
  }
}

std::string PosixFileTree::Join(const std::string& folder, const std::string& name) const {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string PosixFileTree::ErrorText(uint32_t code) const {
  return code == 0 ? std::string() : std::string(std::strerror(static_cast<int>(code)));
}

}  // namespace qm::dircheck
