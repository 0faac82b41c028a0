// Files opened for the module readers. Small files are read into memory;
// larger ones are mapped read-only so a reader that looks at the headers of
// hundreds of large modules touches only the pages it reads. Reading keeps
// a file that is cut short meanwhile from raising SIGBUS under the reader.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/posix/posix_system.h"

namespace qm {

namespace {

// Modules up to this size are copied (most are smaller; copying more makes
// reading the headers of hundreds of modules slow). Larger files
// are mapped, and a truncation under such a mapping remains a hazard that
// Linux gives no way to rule out.
constexpr uint64_t kReadWholeBytes = uint64_t{1} << 20;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

class PosixMappedFile final : public MappedFile {
 public:
  PosixMappedFile(void* address, size_t size) : address_(address), size_(size) {}
  PosixMappedFile(const PosixMappedFile&) = delete;
  PosixMappedFile& operator=(const PosixMappedFile&) = delete;
  ~PosixMappedFile() override {
    if (address_) ::munmap(address_, size_);
  }
  std::span<const uint8_t> bytes() const override { return {static_cast<const uint8_t*>(address_), size_}; }

 private:
  void* address_;
  size_t size_;
};

class CopiedFile final : public MappedFile {
 public:
  explicit CopiedFile(std::vector<uint8_t> data) : data_(std::move(data)) {}
  std::span<const uint8_t> bytes() const override { return data_; }

 private:
  std::vector<uint8_t> data_;
};

}  // namespace

FileError FileErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return {FileFailure::NotFound, kErrorFileNotFound};
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return {FileFailure::NotFound, kErrorPathNotFound};
    case EACCES:
    case EPERM:
      return {FileFailure::AccessDenied, kErrorAccessDenied};
    case EISDIR:
      return {FileFailure::Directory, kErrorAccessDenied};
    case ENXIO:
    case ENODEV:
      return {FileFailure::NotAFile, kErrorInvalidFunction};
    default:
      return {FileFailure::ReadFailed, kErrorReadFault};
  }
}

Result<std::unique_ptr<const MappedFile>, FileError> PosixFiles::MapFile(const std::string& path,
                                                                         uint64_t maxBytes) const {
  // O_NONBLOCK: opening a FIFO without a writer must not wait for one.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return FileErrorFromErrno(errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return FileErrorFromErrno(errno);
  if (S_ISDIR(info.st_mode)) return FileError{FileFailure::Directory, kErrorAccessDenied};
  if (!S_ISREG(info.st_mode)) return FileError{FileFailure::NotAFile, kErrorInvalidFunction};
  const auto size = static_cast<uint64_t>(info.st_size);
  if (size > maxBytes) return FileError{FileFailure::TooLarge, kErrorFileTooLarge, size};

  if (size <= kReadWholeBytes) {
    std::vector<uint8_t> data(static_cast<size_t>(size));
    size_t done = 0;
    while (done < data.size()) {
      const ssize_t got = ::read(fd.get(), data.data() + done, data.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return FileError{FileFailure::ReadFailed, kErrorReadFault, size};
      // Shorter than it was a moment ago: cut while being read.
      if (got == 0) return FileError{FileFailure::ReadFailed, kErrorHandleEof, size};
      done += static_cast<size_t>(got);
    }
    return std::unique_ptr<const MappedFile>(std::make_unique<CopiedFile>(std::move(data)));
  }
  void* address = ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE, fd.get(), 0);
  if (address == MAP_FAILED) return FileError{FileFailure::ReadFailed, kErrorReadFault, size};
  return std::unique_ptr<const MappedFile>(std::make_unique<PosixMappedFile>(address, static_cast<size_t>(size)));
}

}  // namespace qm
