// Files opened for the module readers as a read-only view of a file
// mapping. While a view exists Windows refuses to cut the file short
// (ERROR_USER_MAPPED_FILE), so the bytes cannot vanish under a reader.
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"

namespace qm {

namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_ && handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class Win32MappedFile final : public MappedFile {
 public:
  Win32MappedFile(const void* view, size_t size) : view_(view), size_(size) {}
  Win32MappedFile(const Win32MappedFile&) = delete;
  Win32MappedFile& operator=(const Win32MappedFile&) = delete;
  ~Win32MappedFile() override {
    if (view_) ::UnmapViewOfFile(view_);
  }
  std::span<const uint8_t> bytes() const override { return {static_cast<const uint8_t*>(view_), size_}; }

 private:
  const void* view_;
  size_t size_;
};

class EmptyFile final : public MappedFile {
 public:
  std::span<const uint8_t> bytes() const override { return {}; }
};

FileError FromCode(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return {FileFailure::NotFound, code};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return {FileFailure::AccessDenied, code};
    default:
      return {FileFailure::ReadFailed, code != 0 ? code : kErrorReadFault};
  }
}

}  // namespace

Result<std::unique_ptr<const MappedFile>, FileError> Win32Files::MapFile(const std::string& path,
                                                                         uint64_t maxBytes) const {
  const std::wstring wide = Widen(path);
  // Opening a folder fails with "access denied"; asked first, it is named.
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return FileError{FileFailure::Directory, ERROR_ACCESS_DENIED};
  Handle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return FromCode(::GetLastError());
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) return FileError{FileFailure::NotAFile, ERROR_INVALID_FUNCTION};
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return FromCode(::GetLastError());
  const auto total = static_cast<uint64_t>(size.QuadPart);
  if (total > maxBytes) return FileError{FileFailure::TooLarge, ERROR_FILE_TOO_LARGE, total};
  // A mapping of 0 bytes cannot be made.
  if (total == 0) return std::unique_ptr<const MappedFile>(std::make_unique<EmptyFile>());
  Handle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.get()) return FromCode(::GetLastError());
  const void* view = ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(total));
  if (!view) return FromCode(::GetLastError());
  return std::unique_ptr<const MappedFile>(std::make_unique<Win32MappedFile>(view, static_cast<size_t>(total)));
}

}  // namespace qm
