#include "common/atomic_file.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "common/text.h"

namespace qm {

namespace {
std::filesystem::path Utf8Path(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path target = Utf8Path(path);
  std::random_device seed;
  const fs::path temp = target.parent_path() / Utf8Path("." + BaseName(path, "\\/") + Format(".%08x.tmp", seed()));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temp, ignored);
      return false;
    }
  }
  // Replaces an existing target (MoveFileExW with MOVEFILE_REPLACE_EXISTING
  // under MinGW's library); the target is never half written.
  std::error_code error;
  fs::rename(temp, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  return true;
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace qm
