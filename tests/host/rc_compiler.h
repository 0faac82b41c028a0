#pragma once
// Compiles a resource script with MinGW's windres and links it into a DLL,
// so that what the writers produce can be read back by the reader.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qm::test {

// The DLL's path, or empty when the script does not compile. The compiler's
// messages go to the test's output, or into *messages when it is given (so a
// test can demand a script that compiles without a warning).
inline std::string CompileScriptToDll(const std::filesystem::path& script, std::string* messages = nullptr) {
  const std::string rc = script.string();
  const std::string object = rc + ".o";
  const std::string dll = rc + ".dll";
  const std::string log = rc + ".log";
  std::string compile = "x86_64-w64-mingw32-windres '" + rc + "' -O coff -o '" + object + "'";
  if (messages) compile += " 2>'" + log + "'";
  struct ReadLog {
    std::string* messages;
    std::string path;
    ~ReadLog() {
      if (!messages) return;
      std::ifstream in(path, std::ios::binary);
      messages->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  } readLog{messages, log};
  // No code at all: the DLL only carries the resource section.
  const std::string link =
      "x86_64-w64-mingw32-gcc -shared -nostdlib -Wl,--entry=0 -s -o '" + dll + "' '" + object + "' 2>/dev/null";
  if (std::system(compile.c_str()) != 0 || std::system(link.c_str()) != 0) return {};
  return dll;
}

inline bool HaveMinGw() { return std::system("command -v x86_64-w64-mingw32-windres >/dev/null 2>&1") == 0; }

// A fresh folder under the system's temporary folder, removed on destruction.
class TempDir {
 public:
  explicit TempDir(const std::string& tag)
      : path_(std::filesystem::temp_directory_path() / ("qm-" + tag + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace qm::test
