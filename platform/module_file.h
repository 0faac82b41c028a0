#pragma once
// The one way every reader of modules (the header loader, the resource
// browser, the version reader) opens a file: one size limit, the same
// refusals for files that cannot be modules, and one text for each reason.

#include <cstdint>
#include <memory>
#include <string>

#include "common/byte_reader.h"
#include "platform/system.h"

namespace qm {

// Past this a file is refused rather than mapped or read.
constexpr uint64_t kMaxModuleFileBytes = uint64_t{1} << 30;

// The file's bytes, mapped, read whole or read piecewise as they are asked
// for (read them through ViewOf); refused with the reason and the
// platform code when the file cannot be read, is empty or is plainly not an
// executable (neither "MZ" nor a PE signature where e_lfanew points).
Result<std::unique_ptr<const MappedFile>, FileError> OpenModuleFile(const IFiles& files, const std::string& path);

// The reason as a short English phrase for the command line ("cannot be
// read: no such file"); dialogs show the system's text for error.code.
std::string DescribeFileError(const FileError& error);

// A view of the whole file; over a file read piecewise each read loads
// what it needs first.
inline ByteView ViewOf(const MappedFile& file) {
  const auto bytes = file.bytes();
  return ByteView(bytes.data(), bytes.size(), 0, file.partial() ? &file : nullptr);
}

}  // namespace qm
