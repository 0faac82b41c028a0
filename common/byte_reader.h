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

class ByteView {
 public:
  ByteView() = default;
  ByteView(const uint8_t* data, size_t size, uint64_t base = 0) : data_(data), size_(size), base_(base) {}
  explicit ByteView(const std::vector<uint8_t>& bytes) : ByteView(bytes.data(), bytes.size()) {}

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const uint8_t* data() const { return data_; }
  // Where this view starts inside the outermost data (for error offsets).
  uint64_t base() const { return base_; }
  std::span<const uint8_t> bytes() const { return {data_, size_}; }

  bool has(uint64_t offset, uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

  Result<ByteView> sub(uint64_t offset, uint64_t length) const {
    if (!has(offset, length)) return ParseError{ReadError::OutOfBounds, base_ + offset};
    return ByteView(data_ + offset, static_cast<size_t>(length), base_ + offset);
  }
  // From offset to the end.
  Result<ByteView> from(uint64_t offset) const {
    if (offset > size_) return ParseError{ReadError::OutOfBounds, base_ + offset};
    return ByteView(data_ + offset, static_cast<size_t>(size_ - offset), base_ + offset);
  }

  // Little-endian unsigned or signed integer of T's width.
  template <class T>
  Result<T> read(uint64_t offset) const {
    static_assert(std::is_integral_v<T>);
    if (!has(offset, sizeof(T))) return ParseError{ReadError::OutOfBounds, base_ + offset};
    using U = std::make_unsigned_t<T>;
    U value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) value = static_cast<U>(value | (static_cast<U>(data_[offset + i]) << (8 * i)));
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
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  uint64_t base_ = 0;
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
