#include "resources/version_block.h"

#include "common/text.h"

namespace qm {

namespace {

constexpr uint64_t kHeaderSize = 6;  // wLength, wValueLength, wType

constexpr uint64_t AlignUp4(uint64_t value) { return (value + 3) & ~uint64_t{3}; }

char16_t FoldCase(char16_t c) {
  // Keys are ASCII in practice; Latin-1 letters fold too (not U+00D7/U+00F7).
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
  return c;
}

}  // namespace

bool VersionBlock::KeyAt(uint64_t offset, uint64_t limit, std::u16string_view key) const {
  const ByteView all = view();
  for (size_t i = 0; i <= key.size(); ++i) {
    const uint64_t at = offset + 2 * uint64_t{i};
    if (at + 2 > limit) return false;
    const auto unit = static_cast<char16_t>(all.get<uint16_t>(at));
    if (i == key.size()) return unit == 0;
    if (unit == 0 || FoldCase(unit) != FoldCase(key[i])) return false;
  }
  return false;
}

bool VersionKeyEquals(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

std::string VersionValue::Text() const {
  std::u16string units;
  for (uint64_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = bytes.get<uint16_t>(i);
    if (unit == 0) break;
    units.push_back(static_cast<char16_t>(unit));
  }
  return Utf16ToUtf8(units);
}

Result<VersionBlock> VersionBlock::Parse(ByteView resource) {
  QM_TRY(length, resource.u16(0));
  if (length < kHeaderSize) return resource.error(ReadError::BadValue, 0);
  if (length > resource.size()) return resource.error(ReadError::OutOfBounds, 0);
  // The 16-bit form has no wType: its ANSI key starts where wType would be,
  // and a key character is never below a space while wType is 0 or 1.
  QM_TRY(typeLow, resource.u8(4));
  if (typeLow >= ' ') return resource.error(ReadError::BadSignature, 4);
  VersionBlock block(std::vector<uint8_t>(resource.data(), resource.data() + length));
  QM_TRY(root, block.Root());
  (void)root;
  return block;
}

Result<VersionNode> VersionBlock::NodeAt(uint64_t offset, uint64_t limit) const {
  const ByteView all = view();
  if (limit > all.size() || offset > limit || limit - offset < kHeaderSize)
    return all.error(ReadError::OutOfBounds, offset);
  VersionNode node;
  node.offset = offset;
  node.wLength = all.get<uint16_t>(offset);
  node.wValueLength = all.get<uint16_t>(offset + 2);
  node.wType = all.get<uint16_t>(offset + 4);
  if (node.wLength < kHeaderSize) return all.error(ReadError::BadValue, offset);
  if (node.wLength > limit - offset) return all.error(ReadError::OutOfBounds, offset);
  QM_TRY(extent, all.sub(offset, node.wLength));

  size_t keyUnits = 0;
  QM_TRY(key, ReadZString16(extent, kHeaderSize, kMaxKeyChars, &keyUnits));
  node.key = std::move(key);

  // Any non-zero wType counts its value in 16-bit characters, as the
  // platform's walk does.
  const uint64_t valueOffset = AlignUp4(kHeaderSize + 2 * uint64_t{keyUnits});
  const uint64_t valueBytes = uint64_t{node.wValueLength} * (node.wType ? 2 : 1);
  // The value is cut at the node's end: the platform would hand out the
  // bytes of the next node as if they were the value.
  if (valueOffset < extent.size()) {
    const uint64_t available = extent.size() - valueOffset;
    node.value = *extent.sub(valueOffset, valueBytes < available ? valueBytes : available);
  } else {
    node.value = ByteView(nullptr, 0, extent.base() + extent.size());
  }
  node.childrenOffset = AlignUp4(valueOffset + valueBytes);
  return node;
}

Result<std::vector<VersionNode>> VersionBlock::Children(const VersionNode& node) const {
  std::vector<VersionNode> children;
  const uint64_t end = node.offset + node.wLength;
  uint64_t position = node.offset + node.childrenOffset;
  // Every child is at least 8 bytes apart from the next, so this ends.
  while (position < end) {
    // Fewer bytes than a header before the end is padding.
    if (end - position < kHeaderSize) break;
    if (view().get<uint16_t>(position) == 0) break;
    QM_TRY(child, NodeAt(position, end));
    position += AlignUp4(child.wLength);
    children.push_back(std::move(child));
  }
  return children;
}

Result<VersionNode> VersionBlock::FindChild(const VersionNode& node, std::u16string_view key) const {
  const uint64_t end = node.offset + node.wLength;
  uint64_t position = node.offset + node.childrenOffset;
  while (position < end) {
    if (end - position < kHeaderSize) break;
    if (view().get<uint16_t>(position) == 0) break;
    // Compared in place: a lookup passes many nodes and reads whole only
    // the one it returns.
    const uint64_t length = view().get<uint16_t>(position);
    if (length < kHeaderSize) return view().error(ReadError::BadValue, position);
    if (length > end - position) return view().error(ReadError::OutOfBounds, position);
    if (KeyAt(position + kHeaderSize, position + length, key)) return NodeAt(position, end);
    position += AlignUp4(length);
  }
  return view().error(ReadError::NotFound, node.offset);
}

Result<VersionValue> VersionBlock::Query(std::string_view path) const {
  QM_TRY(node, Root());
  size_t depth = 0;
  size_t start = 0;
  while (start < path.size()) {
    size_t stop = path.find('\\', start);
    if (stop == std::string_view::npos) stop = path.size();
    if (stop > start) {
      if (++depth > kMaxDepth) return view().error(ReadError::TooDeep, node.offset);
      QM_TRY(child, FindChild(node, Utf8ToUtf16(path.substr(start, stop - start))));
      node = std::move(child);
    }
    start = stop + 1;
  }
  return VersionValue{node.value, node.wValueLength, node.wType != 0};
}

Result<FixedFileInfo> VersionBlock::Fixed() const {
  QM_TRY(value, Query("\\"));
  if (value.length == 0 || value.bytes.size() < FixedFileInfo::kSize)
    return view().error(ReadError::NotFound, value.bytes.base());
  const ByteView& b = value.bytes;
  FixedFileInfo info;
  info.dwSignature = b.get<uint32_t>(0);
  info.dwStrucVersion = b.get<uint32_t>(4);
  info.dwFileVersionMS = b.get<uint32_t>(8);
  info.dwFileVersionLS = b.get<uint32_t>(12);
  info.dwProductVersionMS = b.get<uint32_t>(16);
  info.dwProductVersionLS = b.get<uint32_t>(20);
  info.dwFileFlagsMask = b.get<uint32_t>(24);
  info.dwFileFlags = b.get<uint32_t>(28);
  info.dwFileOS = b.get<uint32_t>(32);
  info.dwFileType = b.get<uint32_t>(36);
  info.dwFileSubtype = b.get<uint32_t>(40);
  info.dwFileDateMS = b.get<uint32_t>(44);
  info.dwFileDateLS = b.get<uint32_t>(48);
  return info;
}

Result<std::vector<uint32_t>> VersionBlock::Translations() const {
  QM_TRY(value, Query("\\VarFileInfo\\Translation"));
  // The stated length decides the count; entries that would lie past the
  // node are not read.
  const uint64_t stated = value.length / 4;
  const uint64_t present = value.bytes.size() / 4;
  std::vector<uint32_t> entries;
  for (uint64_t i = 0; i < stated && i < present; ++i) entries.push_back(value.bytes.get<uint32_t>(4 * i));
  return entries;
}

}  // namespace qm
