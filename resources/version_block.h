#pragma once
// The version resource of a module (VS_VERSIONINFO) read as data. Every node
// of the block is wLength, wValueLength, wType, a NUL-terminated UTF-16 key,
// padding to 32 bits, the value, padding, then the child nodes; the root's
// value is the VS_FIXEDFILEINFO, its children StringFileInfo (→ one table per
// "llllcccc" translation → one node per string) and VarFileInfo (→ the
// "Translation" list). Queries walk the nodes on demand, the way the
// platform's VerQueryValue does, so one damaged node elsewhere in the block
// does not hide the values that can still be read.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/byte_reader.h"

namespace qm {

// The fixed part of the block (VS_FIXEDFILEINFO), field names as the platform
// spells them.
struct FixedFileInfo {
  static constexpr uint32_t kSignature = 0xFEEF04BD;
  static constexpr size_t kSize = 52;

  uint32_t dwSignature = 0;
  uint32_t dwStrucVersion = 0;
  uint32_t dwFileVersionMS = 0;
  uint32_t dwFileVersionLS = 0;
  uint32_t dwProductVersionMS = 0;
  uint32_t dwProductVersionLS = 0;
  uint32_t dwFileFlagsMask = 0;
  uint32_t dwFileFlags = 0;
  uint32_t dwFileOS = 0;
  uint32_t dwFileType = 0;
  uint32_t dwFileSubtype = 0;
  uint32_t dwFileDateMS = 0;
  uint32_t dwFileDateLS = 0;
};

// One node of the block: where it lies and what it holds.
struct VersionNode {
  uint64_t offset = 0;        // inside the block
  uint16_t wLength = 0;       // bytes of the node, children included
  uint16_t wValueLength = 0;  // characters for text values, bytes for binary ones
  uint16_t wType = 0;         // 1 text, 0 binary
  std::u16string key;
  ByteView value;  // the value's bytes, never past the node's end
  uint64_t childrenOffset = 0;
};

// What a query answers: the value's bytes and the length the platform's
// query would report.
struct VersionValue {
  ByteView bytes;
  uint16_t length = 0;
  bool isText = false;

  // A text value up to its first NUL (or the end of its bytes).
  std::string Text() const;
};

class VersionBlock {
 public:
  // Nodes nest four levels in the format (root, StringFileInfo, table,
  // string); a query path or a walk deeper than this is refused.
  static constexpr size_t kMaxDepth = 8;
  // A node never exceeds 64 KiB (wLength is 16 bits), so neither does a key.
  static constexpr size_t kMaxKeyChars = 0x8000;

  // Copies the block out of the resource bytes. The root must be a 32-bit
  // (UTF-16) node that fits in the bytes; the 16-bit form of old
  // executables is refused.
  static Result<VersionBlock> Parse(ByteView resource);

  // The block as stored, trimmed to the root's wLength.
  const std::vector<uint8_t>& bytes() const { return bytes_; }

  // The node at an offset of the block, bounded by limit (the end of its
  // parent).
  Result<VersionNode> NodeAt(uint64_t offset, uint64_t limit) const;
  Result<VersionNode> Root() const { return NodeAt(0, bytes_.size()); }
  // The children of a node in stored order; a child with wLength 0 ends the
  // list, as it does for the platform.
  Result<std::vector<VersionNode>> Children(const VersionNode& node) const;
  // The child whose key matches (case-insensitively); NotFound otherwise.
  Result<VersionNode> FindChild(const VersionNode& node, std::u16string_view key) const;

  // A sub-block path as the platform's VerQueryValue takes it: "\\" for the
  // fixed part, "\\VarFileInfo\\Translation",
  // "\\StringFileInfo\\040904b0\\ProductName". Empty components are skipped.
  Result<VersionValue> Query(std::string_view path) const;

  // The fixed part, when the root's value holds a whole VS_FIXEDFILEINFO.
  Result<FixedFileInfo> Fixed() const;
  // The "\\VarFileInfo\\Translation" entries: language in the low 16 bits,
  // code page in the high 16 bits.
  Result<std::vector<uint32_t>> Translations() const;

 private:
  explicit VersionBlock(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  ByteView view() const { return ByteView(bytes_); }
  // Whether the NUL-terminated key at offset, ending before limit, is key.
  bool KeyAt(uint64_t offset, uint64_t limit, std::u16string_view key) const;

  std::vector<uint8_t> bytes_;
};

// Compares version keys as the platform does: case-insensitively.
bool VersionKeyEquals(std::u16string_view a, std::u16string_view b);

}  // namespace qm
