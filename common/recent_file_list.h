#pragma once
// The recent-file list: the most recently opened or saved files, newest
// first, each file once. Paths are UTF-8 Windows paths, so two spellings
// that differ only in ASCII case or in '/' against '\' name the same file.
// The list is stored as the values "File1".."FileN" of the settings subkey
// kRecentFileSection, File1 being the newest.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr const char* kRecentFileSection = "Recent File List";

// Whether two Windows paths name the same file as far as their spelling
// tells (ASCII case folded, either slash). The system folds the case of
// every letter; on Windows the list is given the system's comparison.
bool IsSameFilePath(std::string_view a, std::string_view b);

class RecentFileList {
 public:
  using SamePath = bool (*)(std::string_view, std::string_view);
  explicit RecentFileList(size_t capacity, SamePath samePath = &IsSameFilePath)
      : capacity_(capacity), samePath_(samePath) {}

  size_t Capacity() const { return capacity_; }
  const std::vector<std::string>& Entries() const { return entries_; }

  // Puts path first, dropping an earlier entry of the same file and, when
  // the list is full, the oldest one. An empty path is ignored.
  void Add(const std::string& path);

  // Replaces the entries with the stored ones: readValue gets each value
  // name ("File1".."FileN", N the capacity) and answers nullopt when the
  // value is missing. Empty values and repeats of a file are skipped.
  void Load(const std::function<std::optional<std::string>(const std::string& valueName)>& readValue);

  // The value name of entry index (0-based): "File1" for the newest.
  static std::string ValueName(size_t index);

 private:
  size_t capacity_;
  SamePath samePath_;
  std::vector<std::string> entries_;
};

}  // namespace qm
