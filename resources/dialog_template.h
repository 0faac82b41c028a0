#pragma once
// Dialog templates (RT_DIALOG) in both formats, the plain DLGTEMPLATE and the
// extended DLGTEMPLATEEX, read far enough to show a dialog's caption, font,
// styles, menu, class and controls. The template itself is handed to the
// platform unchanged when a dialog is created; this model only describes it.

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_reader.h"

namespace qm {

// A field that is absent, a 16-bit ordinal or a text (sz_Or_Ord).
struct DialogNameOrOrdinal {
  enum class Kind { None, Ordinal, Text };
  Kind kind = Kind::None;
  uint16_t ordinal = 0;
  std::string text;  // UTF-8

  bool isNone() const { return kind == Kind::None; }
  bool isOrdinal() const { return kind == Kind::Ordinal; }
  // "" for none, "#n" for an ordinal, else the text.
  std::string ToText() const;
};

struct DialogControl {
  uint32_t helpId = 0;  // extended templates only
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint32_t id = 0;  // 16 bits in plain templates
  DialogNameOrOrdinal windowClass;
  // The class name: the predefined class of an ordinal 0x80-0x85 ("Button",
  // "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"), else the text, or
  // "#n" for an ordinal the platform does not predefine.
  std::string className;
  DialogNameOrOrdinal text;  // an ordinal names a resource (an icon of a static)
  uint16_t creationDataSize = 0;
  std::vector<uint8_t> creationData;  // the creationDataSize bytes after the count
};

struct DialogTemplate {
  bool extended = false;
  uint16_t version = 0;  // 1 in extended templates
  uint32_t helpId = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  DialogNameOrOrdinal menu;
  DialogNameOrOrdinal windowClass;
  std::string caption;
  bool hasFont = false;  // DS_SETFONT (or DS_SHELLFONT)
  uint16_t pointSize = 0;
  uint16_t weight = 0;  // extended only
  bool italic = false;  // extended only
  uint8_t charset = 0;  // extended only
  std::string fontName;
  std::vector<DialogControl> controls;
};

// Caps: a template holds at most 65535 controls by format; each text is at
// most kMaxDialogTextChars units long.
constexpr size_t kMaxDialogTextChars = 0x8000;

#ifndef DS_SETFONT
constexpr uint32_t DS_SETFONT = 0x40;
#endif

Result<DialogTemplate> ParseDialogTemplate(ByteView data);

// The predefined class of a control ordinal, empty for other values.
const char* PredefinedControlClass(uint16_t ordinal);

}  // namespace qm
