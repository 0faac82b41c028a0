// Files opened for the module readers. Small files are read whole; larger
// ones are read piecewise with positioned reads, chunk by chunk as the
// readers ask for bytes, so listing the resources of hundreds of modules
// reads their headers and resource directories and little else. Nothing is
// mapped from the file, so a file cut short meanwhile cannot raise SIGBUS
// under a reader: the read that comes up short is an error value.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>
#include <vector>

#include "platform/posix/posix_system.h"

namespace qm {

namespace {

// Files up to this size are read whole at once: one read costs less than
// the two or three pieces a reader would ask for.
constexpr uint64_t kReadWholeBytes = 64 * 1024;
// Larger files are read in chunks of this size (aligned), so the many small
// reads of a directory walk become a few positioned reads.
constexpr uint64_t kChunkBytes = 16 * 1024;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor& operator=(FileDescriptor&&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// A file read piecewise: Load reads the chunks of a range that are not yet
// there. The file stays open while the object lives.
class PartialFile final : public MappedFile {
 public:
  PartialFile(FileDescriptor fd, size_t size)
      : fd_(std::move(fd)),
        memory_(std::make_unique_for_overwrite<uint8_t[]>(size)),
        size_(size),
        loaded_((size + kChunkBytes - 1) / kChunkBytes, false) {}

  std::span<const uint8_t> bytes() const override { return {memory_.get(), size_}; }
  bool partial() const override { return true; }

  bool Load(uint64_t offset, uint64_t length) const override {
    if (length == 0) return true;
    if (offset > size_ || length > size_ - offset) return false;
    size_t chunk = static_cast<size_t>(offset / kChunkBytes);
    const size_t last = static_cast<size_t>((offset + length - 1) / kChunkBytes);
    while (chunk <= last) {
      if (loaded_[chunk]) {
        ++chunk;
        continue;
      }
      size_t end = chunk;
      while (end + 1 <= last && !loaded_[end + 1]) ++end;
      if (!ReadChunks(chunk, end)) return false;
      chunk = end + 1;
    }
    return true;
  }

 private:
  // Reads chunks first to last (inclusive) in one positioned read.
  bool ReadChunks(size_t first, size_t last) const {
    const uint64_t start = uint64_t{first} * kChunkBytes;
    const uint64_t stop = std::min<uint64_t>(uint64_t{last + 1} * kChunkBytes, size_);
    uint64_t done = 0;
    while (start + done < stop) {
      const ssize_t got = ::pread(fd_.get(), memory_.get() + start + done, static_cast<size_t>(stop - start - done),
                                  static_cast<off_t>(start + done));
      if (got < 0 && errno == EINTR) continue;
      // An error, or shorter than it was when opened: cut while being read.
      if (got <= 0) return false;
      done += static_cast<uint64_t>(got);
    }
    for (size_t c = first; c <= last; ++c) loaded_[c] = true;
    return true;
  }

  FileDescriptor fd_;
  // Room for the whole file, left unwritten: the chunks read land in place
  // so views keep stable addresses, and no byte is read before its chunk.
  std::unique_ptr<uint8_t[]> memory_;
  size_t size_;
  mutable std::vector<bool> loaded_;
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
  return std::unique_ptr<const MappedFile>(std::make_unique<PartialFile>(std::move(fd), static_cast<size_t>(size)));
}

}  // namespace qm
