#pragma once
// The one reader for untrusted bytes. A ByteView is a bounded window on data
// it does not own; every read widens offsets to 64 bits before adding, so an
// offset near UINT32_MAX cannot wrap, and a failed read is an error value.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "common/result.h"

namespace qm {

// Data read piecewise (a module file read with positioned reads): only the
// ranges asked for hold the file's bytes. A view over such data asks its
// source for each range before reading it.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Makes [offset, offset + length) of the outermost data readable; false
  // when it cannot be read (the file was cut short meanwhile, a disk error).
  virtual bool Load(uint64_t offset, uint64_t length) const = 0;
};

class ByteView {
 public:
  ByteView() = default;
  ByteView(const uint8_t* data, size_t size, uint64_t base = 0, const ByteSource* source = nullptr)
      : data_(data), size_(size), base_(base), source_(source) {}
  explicit ByteView(const std::vector<uint8_t>& bytes) : ByteView(bytes.data(), bytes.size()) {}

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Where the view starts, as an address only: over data read piecewise its
  // bytes are there once read through the view (read, sub, bytes).
  const uint8_t* data() const { return data_; }
  // Where this view starts inside the outermost data (for error offsets).
  uint64_t base() const { return base_; }
  // The whole view's bytes; empty when data read piecewise cannot be read.
  std::span<const uint8_t> bytes() const {
    if (!Loaded(0, size_)) return {};
    return {data_, size_};
  }

  bool has(uint64_t offset, uint64_t length) const { return offset <= size_ && length <= size_ - offset; }

  // A view of length bytes, read at once when the data is read piecewise:
  // its bytes can then be used directly.
  Result<ByteView> sub(uint64_t offset, uint64_t length) const {
    if (!has(offset, length)) return ParseError{ReadError::OutOfBounds, base_ + offset};
    if (!Loaded(offset, length)) return ParseError{ReadError::Io, base_ + offset};
    // Every byte of it is there now: reads inside it need not ask again.
    return ByteView(data_ + offset, static_cast<size_t>(length), base_ + offset);
  }
  // The same as sub, but over data read piecewise nothing is read until
  // asked for: for a range a reader walks in small steps (a section).
  Result<ByteView> window(uint64_t offset, uint64_t length) const {
    if (!has(offset, length)) return ParseError{ReadError::OutOfBounds, base_ + offset};
    return ByteView(data_ + offset, static_cast<size_t>(length), base_ + offset, source_);
  }
  // From offset to the end, as a window.
  Result<ByteView> from(uint64_t offset) const {
    if (offset > size_) return ParseError{ReadError::OutOfBounds, base_ + offset};
    return window(offset, size_ - offset);
  }

  // Little-endian unsigned or signed integer of T's width.
  template <class T>
  Result<T> read(uint64_t offset) const {
    static_assert(std::is_integral_v<T>);
    if (!has(offset, sizeof(T))) return ParseError{ReadError::OutOfBounds, base_ + offset};
    if (!Loaded(offset, sizeof(T))) return ParseError{ReadError::Io, base_ + offset};
    using U = std::make_unsigned_t<T>;
    U value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
      value = static_cast<U>(value | (static_cast<U>(data_[offset + i]) << (8 * i)));
    return static_cast<T>(value);
  }
  Result<uint8_t> u8(uint64_t offset) const { return read<uint8_t>(offset); }
  Result<uint16_t> u16(uint64_t offset) const { return read<uint16_t>(offset); }
  Result<uint32_t> u32(uint64_t offset) const { return read<uint32_t>(offset); }
  Result<uint64_t> u64(uint64_t offset) const { return read<uint64_t>(offset); }

  // Reads without failing: 0 past the end. For callers that checked the
  // range once with has() or sub() and then pick fields inside it.
  template <class T>
  T get(uint64_t offset) const {
    auto r = read<T>(offset);
    return r ? *r : T{};
  }

  ParseError error(ReadError code, uint64_t offset) const { return ParseError{code, base_ + offset}; }

 private:
  bool Loaded(uint64_t offset, uint64_t length) const {
    return !source_ || length == 0 || source_->Load(base_ + offset, length);
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  uint64_t base_ = 0;
  const ByteSource* source_ = nullptr;  // null: every byte is there
};

// Reads a NUL-terminated UTF-16LE string that starts at offset, at most
// maxChars characters; the end of the view without a terminator is an error.
// units receives the number of 16-bit units including the terminator.
Result<std::u16string> ReadZString16(const ByteView& view, uint64_t offset, size_t maxChars, size_t* units = nullptr);

// Reads a NUL-terminated 8-bit string (no terminator past the view: error).
Result<std::string> ReadZString8(const ByteView& view, uint64_t offset, size_t maxChars);

// Reads count UTF-16LE units.
Result<std::u16string> ReadString16(const ByteView& view, uint64_t offset, size_t count);

}  // namespace qm
