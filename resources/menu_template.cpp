#include "resources/menu_template.h"

#include "common/text.h"

namespace qm {

namespace {

// Flags of a plain template item (MF_ values).
constexpr uint16_t kMfPopup = 0x10;
constexpr uint16_t kMfEnd = 0x80;
constexpr uint16_t kMfHelp = 0x4000;  // the right-justify bit of the type
// Of the extended template's item information word.
constexpr uint16_t kExPopup = 0x01;
constexpr uint16_t kExEnd = 0x80;

class MenuReader {
 public:
  explicit MenuReader(ByteView data) : data_(data) {}

  Result<std::vector<MenuItem>> ReadPlain(uint64_t& at, size_t depth) {
    if (depth >= kMaxMenuDepth) return data_.error(ReadError::TooDeep, at);
    std::vector<MenuItem> items;
    for (;;) {
      QM_TRY(flags, data_.u16(at));
      at += 2;
      MenuItem item;
      if (!(flags & kMfPopup)) {
        QM_TRY(id, data_.u16(at));
        item.id = id;
        at += 2;
      }
      QM_TRY(text, ReadText(at));
      item.text = std::move(text);
      // MF_HELP is the old name of the right-justify bit; MF_END and MF_POPUP
      // only steer the template.
      item.type = flags & (kMftBitmap | kMftMenuBarBreak | kMftMenuBreak | kMftOwnerDraw | kMftSeparator | kMfHelp);
      item.state = flags & (kMfsGrayed | kMfsChecked | kMfsDefault);
      if (flags & kMfPopup) {
        item.hasSubmenu = true;
        QM_TRY(children, ReadPlain(at, depth + 1));
        item.submenu = std::move(children);
      } else if (item.text.empty() && IsStringItem(item.type)) {
        // An empty string item is how MENUITEM SEPARATOR is stored.
        item.type |= kMftSeparator;
      }
      QM_TRY(counted, Count(at));
      (void)counted;
      items.push_back(std::move(item));
      if (flags & kMfEnd) return items;
    }
  }

  Result<std::vector<MenuItem>> ReadExtended(uint64_t& at, size_t depth) {
    if (depth >= kMaxMenuDepth) return data_.error(ReadError::TooDeep, at);
    std::vector<MenuItem> items;
    for (;;) {
      if (!data_.has(at, 14)) return data_.error(ReadError::OutOfBounds, at);
      MenuItem item;
      item.type = data_.get<uint32_t>(at);
      item.state = data_.get<uint32_t>(at + 4);
      item.id = data_.get<uint32_t>(at + 8);
      const uint16_t info = data_.get<uint16_t>(at + 12);
      at += 14;
      QM_TRY(text, ReadText(at));
      item.text = std::move(text);
      at = AlignTo4(at);
      if (info & kExPopup) {
        QM_TRY(helpId, data_.u32(at));
        item.helpId = helpId;
        at += 4;
        item.hasSubmenu = true;
        QM_TRY(children, ReadExtended(at, depth + 1));
        item.submenu = std::move(children);
      } else if (item.text.empty() && !(item.type & kMftSeparator) && IsStringItem(item.type)) {
        item.type |= kMftSeparator;
      }
      QM_TRY(counted, Count(at));
      (void)counted;
      items.push_back(std::move(item));
      if (info & kExEnd) return items;
    }
  }

 private:
  static bool IsStringItem(uint32_t type) { return !(type & (kMftBitmap | kMftOwnerDraw)); }
  static uint64_t AlignTo4(uint64_t at) { return (at + 3) & ~uint64_t{3}; }

  Result<std::string> ReadText(uint64_t& at) {
    size_t units = 0;
    QM_TRY(text, ReadZString16(data_, at, kMaxMenuTextChars, &units));
    at += 2 * uint64_t{units};
    return Utf16ToUtf8(text);
  }

  Result<bool> Count(uint64_t at) {
    if (++items_ > kMaxMenuItems) return data_.error(ReadError::TooMany, at);
    return true;
  }

  ByteView data_;
  size_t items_ = 0;
};

}  // namespace

Result<Menu> ParseMenuTemplate(ByteView data) {
  QM_TRY(version, data.u16(0));
  QM_TRY(offset, data.u16(2));
  // Items start after the two header words plus the stated header size.
  uint64_t at = 4 + uint64_t{offset};
  MenuReader reader(data);
  Menu menu;
  // A template without items (MENU BEGIN END) ends with its header.
  if (version <= 1 && at == data.size()) {
    menu.extended = version == 1;
    return menu;
  }
  if (version == 0) {
    QM_TRY(items, reader.ReadPlain(at, 0));
    menu.items = std::move(items);
  } else if (version == 1) {
    menu.extended = true;
    QM_TRY(items, reader.ReadExtended(at, 0));
    menu.items = std::move(items);
  } else {
    return data.error(ReadError::BadValue, 0);
  }
  return menu;
}

}  // namespace qm
