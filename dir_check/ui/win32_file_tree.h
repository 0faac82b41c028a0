#pragma once
// The directory check's view of a Windows disk.

#include "dir_check/dir_walk.h"

namespace qm::dircheck {

class Win32FileTree : public IFileTree {
 public:
  bool ListFolder(const std::string& path, std::vector<FileEntry>& entries, uint32_t& error) override;
  std::string Join(const std::string& folder, const std::string& name) const override;
  std::string ErrorText(uint32_t code) const override;
};

}  // namespace qm::dircheck
