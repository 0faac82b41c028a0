#include "platform/module_file.h"

#include "common/text.h"

namespace qm {

Result<std::unique_ptr<const MappedFile>, FileError> OpenModuleFile(const IFiles& files, const std::string& path) {
  // An empty name would stand for the running program on Windows.
  if (path.empty()) return FileError{FileFailure::NotFound, kErrorFileNotFound};
  auto file = files.MapFile(path, kMaxModuleFileBytes);
  if (!file) return file.error();
  const size_t size = (*file)->bytes().size();
  if (size == 0) return FileError{FileFailure::Empty, kErrorBadExeFormat, 0};
  // Text and other data: neither the "MZ" of an executable nor, for one
  // whose first bytes are damaged, a PE signature where e_lfanew points.
  const ByteView view = ViewOf(**file);
  const bool mz = view.u16(0).value_or(0) == 0x5A4D;
  const uint32_t ntOffset = view.u32(0x3C).value_or(UINT32_MAX);
  const bool pe = view.u32(ntOffset).value_or(0) == 0x00004550;
  if (!mz && !pe) return FileError{FileFailure::NotAModule, kErrorBadExeFormat, size};
  return file;
}

std::string DescribeFileError(const FileError& error) {
  switch (error.reason) {
    case FileFailure::NotFound:
      return "cannot be read: no such file";
    case FileFailure::AccessDenied:
      return "cannot be read: access denied";
    case FileFailure::Directory:
      return "cannot be read: a folder, not a file";
    case FileFailure::NotAFile:
      return "cannot be read: not a regular file (a pipe or a device)";
    case FileFailure::TooLarge:
      return Format("too large to be a module (%llu bytes; the limit is 1 GiB)",
                    static_cast<unsigned long long>(error.size));
    case FileFailure::ReadFailed:
      if (error.code == kErrorHandleEof) return "cannot be read: the file was cut short while being read";
      return Format("cannot be read: reading failed (error %u)", error.code);
    case FileFailure::Empty:
      return "not a Windows module: the file is empty";
    case FileFailure::NotAModule:
      return "not a Windows module (no MZ or PE signature)";
  }
  return "cannot be read";
}

}  // namespace qm
