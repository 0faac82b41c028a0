// Files mapped read-only with mmap, so a reader that looks at the headers of
// hundreds of large modules touches only the pages it reads.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/posix_system.h"

namespace qm {

namespace {

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

class EmptyFile final : public MappedFile {
 public:
  std::span<const uint8_t> bytes() const override { return {}; }
};

}  // namespace

Result<std::unique_ptr<const MappedFile>> PosixFiles::MapFile(const std::string& path, uint64_t maxBytes) const {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return ParseError{ReadError::Io, 0};
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return ParseError{ReadError::Io, 0};
  if (!S_ISREG(info.st_mode)) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    return ParseError{ReadError::Io, 0};
  }
  const auto size = static_cast<uint64_t>(info.st_size);
  if (size > maxBytes) return ParseError{ReadError::TooMany, size};
  // mmap refuses a length of 0.
  if (size == 0) return std::unique_ptr<const MappedFile>(std::make_unique<EmptyFile>());
  void* address = ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE, fd.get(), 0);
  if (address == MAP_FAILED) return ParseError{ReadError::Io, 0};
  return std::unique_ptr<const MappedFile>(std::make_unique<PosixMappedFile>(address, static_cast<size_t>(size)));
}

}  // namespace qm
