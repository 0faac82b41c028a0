#include "resources/extract_folder.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text.h"

namespace qm {

namespace {

namespace fs = std::filesystem;

fs::path Utf8Path(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string PathText(const fs::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

ExtractLayout PlanExtractFolder(const std::string& outputDir, const std::string& modulePath) {
  const std::string fileName = BaseName(modulePath, "\\/");
  const size_t dot = fileName.rfind('.');
  const std::string scriptName = (dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot)) + ".rc";
  const fs::path folder = Utf8Path(outputDir) / Utf8Path(fileName);
  return ExtractLayout{PathText(folder), scriptName, PathText(folder / Utf8Path(scriptName))};
}

bool ExtractHasResources(const ModuleExtract& extract) {
  return extract.statements + extract.dataFiles + extract.rawFallbacks.size() != 0;
}

ExtractFolderWriter::ExtractFolderWriter(ExtractLayout layout, const ModuleExtract& extract)
    : layout_(std::move(layout)), extract_(extract), script_(ToCrLf(extract.script)) {}

std::string ExtractFolderWriter::PathOf(size_t index) const {
  if (index == 0) return layout_.scriptPath;
  return PathText(Utf8Path(layout_.folder) / Utf8Path(extract_.files[index - 1].path));
}

std::vector<std::string> ExtractFolderWriter::ExistingPaths() const {
  std::vector<std::string> existing;
  for (size_t i = 0; i < Count(); ++i) {
    std::error_code error;
    const std::string path = PathOf(i);
    if (fs::exists(fs::symlink_status(Utf8Path(path), error))) existing.push_back(path);
  }
  return existing;
}

bool ExtractFolderWriter::MakeFolders() const {
  std::error_code error;
  const fs::path res = Utf8Path(layout_.folder) / "res";
  fs::create_directories(res, error);
  return !error && fs::is_directory(res, error);
}

bool ExtractFolderWriter::WriteNext() {
  if (Done()) return false;
  std::string_view bytes = script_;
  if (next_ > 0) {
    const ExtractedFile& file = extract_.files[next_ - 1];
    bytes = std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  }
  if (!WriteFileAtomically(PathOf(next_), bytes)) return false;
  ++next_;
  return true;
}

}  // namespace qm
