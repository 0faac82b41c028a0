#include "dir_check/ui/win32_file_tree.h"

#include <memory>

#include "dir_check/walk_report.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"

namespace qm::dircheck {
namespace {

struct FindCloser {
  void operator()(HANDLE find) const { ::FindClose(find); }
};
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// A link's target opened without read access, only to learn what it is.
UniqueHandle OpenTarget(const std::wstring& path, bool folder) {
  HANDLE handle = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, folder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

bool IsMissingTarget(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_CANT_RESOLVE_FILENAME ||
         error == ERROR_INVALID_REPARSE_DATA || error == ERROR_NOT_A_REPARSE_POINT;
}

}  // namespace

bool Win32FileTree::ListFolder(const std::string& path, std::vector<FileEntry>& entries, uint32_t& error) {
  WIN32_FIND_DATAW data{};
  UniqueFind find(::FindFirstFileExW(Widen(Join(path, "*")).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (find.get() == INVALID_HANDLE_VALUE) {
    find.release();
    error = ::GetLastError();
    return false;
  }
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    FileEntry entry;
    entry.name = Narrow(name);
    entry.modified = WalkTimeOfFileTime((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                        data.ftLastWriteTime.dwLowDateTime);
    const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (isLink) {
      // Links and junctions: what matters is whether the target is there.
      const std::wstring full = Widen(Join(path, entry.name));
      UniqueHandle target = OpenTarget(full, isFolder);
      if (!target) {
        const DWORD openError = ::GetLastError();
        if (IsMissingTarget(openError)) {
          entry.kind = EntryKind::kBrokenLink;
        } else if (isFolder) {
          entry.kind = EntryKind::kLinkedFolder;
        } else {
          entry.sizeError = openError;
        }
        entries.push_back(entry);
        continue;
      }
      if (isFolder) {
        entry.kind = EntryKind::kLinkedFolder;
      } else {
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(target.get(), &size)) {
          entry.size = static_cast<uint64_t>(size.QuadPart);
        } else {
          entry.sizeError = ::GetLastError();
        }
      }
      entries.push_back(entry);
      continue;
    }
    if (isFolder) {
      entry.kind = EntryKind::kFolder;
    } else {
      entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    entries.push_back(entry);
  } while (::FindNextFileW(find.get(), &data));
  const DWORD last = ::GetLastError();
  if (last != ERROR_NO_MORE_FILES) {
    error = last;
    return false;
  }
  return true;
}

std::string Win32FileTree::Join(const std::string& folder, const std::string& name) const {
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
  return folder + "\\" + name;
}

std::string Win32FileTree::ErrorText(uint32_t code) const {
  if (code == 0) return {};
  std::string text = Win32ErrorText().FormatMessage(code);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace qm::dircheck
