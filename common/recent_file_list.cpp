#include "common/recent_file_list.h"

#include <algorithm>

namespace qm {
namespace {

char FoldPathChar(char c) {
  if (c == '/') return '\\';
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c;
}

}  // namespace

bool IsSameFilePath(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldPathChar(x) == FoldPathChar(y); });
}

void RecentFileList::Add(const std::string& path) {
  if (path.empty() || capacity_ == 0) return;
  std::erase_if(entries_, [&](const std::string& entry) { return samePath_(entry, path); });
  entries_.insert(entries_.begin(), path);
  if (entries_.size() > capacity_) entries_.resize(capacity_);
}

void RecentFileList::Load(const std::function<std::optional<std::string>(const std::string& valueName)>& readValue) {
  entries_.clear();
  for (size_t i = 0; i < capacity_; ++i) {
    const std::optional<std::string> value = readValue(ValueName(i));
    if (!value || value->empty()) continue;
    const bool repeated = std::any_of(entries_.begin(), entries_.end(),
                                      [&](const std::string& entry) { return samePath_(entry, *value); });
    if (!repeated) entries_.push_back(*value);
  }
}

std::string RecentFileList::ValueName(size_t index) { return "File" + std::to_string(index + 1); }

}  // namespace qm
