#include "resources/dialog_template.h"

#include <algorithm>

#include "common/text.h"

namespace qm {

namespace {

constexpr uint16_t kOrdinalMarker = 0xFFFF;
constexpr uint64_t kPlainHeaderSize = 18;
constexpr uint64_t kExtendedHeaderSize = 26;
constexpr uint64_t kPlainItemSize = 18;
constexpr uint64_t kExtendedItemSize = 24;

// Walks a template front to back; every field is read through the view.
class TemplateReader {
 public:
  explicit TemplateReader(ByteView data, uint64_t start) : data_(data), pos_(start) {}

  uint64_t pos() const { return pos_; }
  // Controls start on a DWORD boundary of the template.
  void AlignToDword() { pos_ = (pos_ + 3) & ~uint64_t{3}; }

  template <class T>
  Result<T> Read() {
    QM_TRY(value, data_.read<T>(pos_));
    pos_ += sizeof(T);
    return value;
  }

  Result<std::string> ReadText() {
    size_t units = 0;
    QM_TRY(text, ReadZString16(data_, pos_, kMaxDialogTextChars, &units));
    pos_ += 2 * uint64_t{units};
    return Utf16ToUtf8(text);
  }

  Result<DialogNameOrOrdinal> ReadNameOrOrdinal() {
    DialogNameOrOrdinal out;
    QM_TRY(first, data_.u16(pos_));
    if (first == 0) {
      pos_ += 2;
      return out;
    }
    if (first == kOrdinalMarker) {
      QM_TRY(ordinal, data_.u16(pos_ + 2));
      pos_ += 4;
      out.kind = DialogNameOrOrdinal::Kind::Ordinal;
      out.ordinal = ordinal;
      return out;
    }
    QM_TRY(text, ReadText());
    out.kind = DialogNameOrOrdinal::Kind::Text;
    out.text = std::move(text);
    return out;
  }

  Result<bool> Skip(uint64_t bytes) {
    if (!data_.has(pos_, bytes)) return data_.error(ReadError::OutOfBounds, pos_);
    pos_ += bytes;
    return true;
  }

  Result<std::vector<uint8_t>> Bytes(uint64_t count) {
    QM_TRY(view, data_.sub(pos_, count));
    pos_ += count;
    return std::vector<uint8_t>(view.data(), view.data() + view.size());
  }

 private:
  ByteView data_;
  uint64_t pos_;
};

Result<DialogControl> ReadControl(TemplateReader& reader, bool extended) {
  DialogControl control;
  if (extended) {
    QM_TRY(helpId, reader.Read<uint32_t>());
    QM_TRY(exStyle, reader.Read<uint32_t>());
    QM_TRY(style, reader.Read<uint32_t>());
    control.helpId = helpId;
    control.exStyle = exStyle;
    control.style = style;
  } else {
    QM_TRY(style, reader.Read<uint32_t>());
    QM_TRY(exStyle, reader.Read<uint32_t>());
    control.style = style;
    control.exStyle = exStyle;
  }
  QM_TRY(x, reader.Read<int16_t>());
  QM_TRY(y, reader.Read<int16_t>());
  QM_TRY(cx, reader.Read<int16_t>());
  QM_TRY(cy, reader.Read<int16_t>());
  control.x = x;
  control.y = y;
  control.cx = cx;
  control.cy = cy;
  if (extended) {
    QM_TRY(id, reader.Read<uint32_t>());
    control.id = id;
  } else {
    QM_TRY(id, reader.Read<uint16_t>());
    control.id = id;
  }
  QM_TRY(windowClass, reader.ReadNameOrOrdinal());
  control.windowClass = std::move(windowClass);
  if (control.windowClass.isOrdinal()) {
    const char* predefined = PredefinedControlClass(control.windowClass.ordinal);
    control.className = *predefined ? predefined : control.windowClass.ToText();
  } else {
    control.className = control.windowClass.text;
  }
  QM_TRY(text, reader.ReadNameOrOrdinal());
  control.text = std::move(text);
  // The creation data follows its 16-bit byte count.
  QM_TRY(extra, reader.Read<uint16_t>());
  control.creationDataSize = extra;
  QM_TRY(creationData, reader.Bytes(extra));
  control.creationData = std::move(creationData);
  return control;
}

}  // namespace

std::string DialogNameOrOrdinal::ToText() const {
  switch (kind) {
    case Kind::None:
      return {};
    case Kind::Ordinal:
      return Format("#%u", unsigned{ordinal});
    case Kind::Text:
      return text;
  }
  return {};
}

const char* PredefinedControlClass(uint16_t ordinal) {
  switch (ordinal) {
    case 0x80:
      return "Button";
    case 0x81:
      return "Edit";
    case 0x82:
      return "Static";
    case 0x83:
      return "ListBox";
    case 0x84:
      return "ScrollBar";
    case 0x85:
      return "ComboBox";
    default:
      return "";
  }
}

Result<DialogTemplate> ParseDialogTemplate(ByteView data) {
  DialogTemplate dialog;
  QM_TRY(first, data.u16(0));
  QM_TRY(signature, data.u16(2));
  dialog.extended = first == 1 && signature == kOrdinalMarker;
  uint64_t count = 0;
  if (dialog.extended) {
    QM_TRY(header, data.sub(0, kExtendedHeaderSize));
    dialog.version = first;
    dialog.helpId = header.get<uint32_t>(4);
    dialog.exStyle = header.get<uint32_t>(8);
    dialog.style = header.get<uint32_t>(12);
    count = header.get<uint16_t>(16);
    dialog.x = header.get<int16_t>(18);
    dialog.y = header.get<int16_t>(20);
    dialog.cx = header.get<int16_t>(22);
    dialog.cy = header.get<int16_t>(24);
  } else {
    QM_TRY(header, data.sub(0, kPlainHeaderSize));
    dialog.style = header.get<uint32_t>(0);
    dialog.exStyle = header.get<uint32_t>(4);
    count = header.get<uint16_t>(8);
    dialog.x = header.get<int16_t>(10);
    dialog.y = header.get<int16_t>(12);
    dialog.cx = header.get<int16_t>(14);
    dialog.cy = header.get<int16_t>(16);
  }

  TemplateReader reader(data, dialog.extended ? kExtendedHeaderSize : kPlainHeaderSize);
  QM_TRY(menu, reader.ReadNameOrOrdinal());
  dialog.menu = std::move(menu);
  QM_TRY(windowClass, reader.ReadNameOrOrdinal());
  dialog.windowClass = std::move(windowClass);
  QM_TRY(caption, reader.ReadText());
  dialog.caption = std::move(caption);

  // DS_SHELLFONT includes DS_SETFONT.
  if (dialog.style & DS_SETFONT) {
    dialog.hasFont = true;
    QM_TRY(pointSize, reader.Read<uint16_t>());
    dialog.pointSize = pointSize;
    if (dialog.extended) {
      QM_TRY(weight, reader.Read<uint16_t>());
      QM_TRY(italic, reader.Read<uint8_t>());
      QM_TRY(charset, reader.Read<uint8_t>());
      dialog.weight = weight;
      dialog.italic = italic != 0;
      dialog.charset = charset;
    }
    QM_TRY(fontName, reader.ReadText());
    dialog.fontName = std::move(fontName);
  }

  // Each control takes at least its fixed part, so the data bounds the count.
  const uint64_t itemSize = dialog.extended ? kExtendedItemSize : kPlainItemSize;
  dialog.controls.reserve(static_cast<size_t>(std::min<uint64_t>(count, data.size() / itemSize)));
  for (uint64_t i = 0; i < count; ++i) {
    reader.AlignToDword();
    QM_TRY(control, ReadControl(reader, dialog.extended));
    dialog.controls.push_back(std::move(control));
  }
  return dialog;
}

}  // namespace qm
