#include "resources/dialog_script.h"

#include "common/atomic_file.h"
#include "common/text.h"
#include "resources/menu_script.h"

namespace qm {

namespace {

constexpr uint32_t kWsCaption = 0x00C00000;
constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;

class ScriptWriter {
 public:
  std::string Quoted(const std::string& text) { return QuoteScriptText(text, beyondAscii_); }

  // A number for an ordinal, a quoted text for a name; absent is "".
  std::string NameOrOrdinal(const DialogNameOrOrdinal& value) {
    if (value.isOrdinal()) return std::to_string(value.ordinal);
    return Quoted(value.isNone() ? std::string() : value.text);
  }

  void Line(const std::string& line) { text_ += line + "\n"; }

  std::string Finish() const {
    // The compiler reads the script in the system's code page unless told it
    // is UTF-8.
    return (beyondAscii_ ? "#pragma code_page(65001)\n\n" : "") + text_;
  }

 private:
  std::string text_;
  bool beyondAscii_ = false;
};

std::string Hex(uint32_t value) { return Format("0x%08x", value); }

// A minus sign is taken only inside parentheses at some places of a
// statement, so negative numbers are written in them everywhere.
std::string Number(int value) { return value < 0 ? Format("(%d)", value) : std::to_string(value); }

std::string Rectangle(int x, int y, int cx, int cy) {
  return Number(x) + ", " + Number(y) + ", " + Number(cx) + ", " + Number(cy);
}

// The compiler gives every CONTROL WS_CHILD and WS_VISIBLE unless told NOT
// to.
std::string ControlStyle(uint32_t style) {
  std::string text = Hex(style);
  if (!(style & kWsChild)) text += " | NOT " + Hex(kWsChild);
  if (!(style & kWsVisible)) text += " | NOT " + Hex(kWsVisible);
  return text;
}

std::string ControlId(const DialogTemplate& dialog, uint32_t id) {
  if (dialog.extended && id == 0xFFFFFFFFu) return "(-1)";
  if (id > 0x7FFFFFFFu) return Format("0x%08x", id);
  return std::to_string(id);
}

void WriteControl(ScriptWriter& writer, const DialogTemplate& dialog, const DialogControl& control) {
  // A predefined class keeps its ordinal: written as a name, the compiler
  // would store the name.
  const std::string windowClass = control.windowClass.isOrdinal()
                                      ? Format("0x%04x", unsigned{control.windowClass.ordinal})
                                      : writer.Quoted(control.className);
  std::string line = "  CONTROL " + writer.NameOrOrdinal(control.text) + ", " + ControlId(dialog, control.id) + ", " +
                     windowClass + ", " + ControlStyle(control.style) + ", " +
                     Rectangle(control.x, control.y, control.cx, control.cy);
  if (dialog.extended) {
    if (control.exStyle || control.helpId) line += ", " + Hex(control.exStyle);
    if (control.helpId) line += ", " + Hex(control.helpId);
  } else if (control.exStyle) {
    line += ", " + Hex(control.exStyle);
  }
  writer.Line(line);
  if (control.creationData.empty()) return;
  // Creation data as 16-bit words; an odd last byte becomes a word of its
  // own.
  writer.Line("  BEGIN");
  std::string words = "    ";
  for (size_t i = 0; i < control.creationData.size(); i += 2) {
    unsigned word = control.creationData[i];
    if (i + 1 < control.creationData.size()) word |= unsigned{control.creationData[i + 1]} << 8;
    if (i) words += ", ";
    words += Format("0x%04x", word);
  }
  writer.Line(words);
  writer.Line("  END");
}

}  // namespace

std::string DialogScriptText(const DialogTemplate& dialog, const ResourceName& name) {
  ScriptWriter writer;
  const std::string resource = name.isString ? writer.Quoted(name.name) : std::to_string(name.id);
  std::string head =
      resource + (dialog.extended ? " DIALOGEX " : " DIALOG ") + Rectangle(dialog.x, dialog.y, dialog.cx, dialog.cy);
  if (dialog.extended && dialog.helpId) head += ", " + Hex(dialog.helpId);
  writer.Line(head);
  // CAPTION adds WS_CAPTION to what is there so far; STYLE after it then
  // sets the word and takes back the caption bits the template lacks.
  std::string style = Hex(dialog.style);
  if (!dialog.caption.empty()) {
    writer.Line("CAPTION " + writer.Quoted(dialog.caption));
    if ((dialog.style & kWsCaption) != kWsCaption) style += " | NOT " + Hex(kWsCaption & ~dialog.style);
  }
  writer.Line("STYLE " + style);
  if (dialog.exStyle) writer.Line("EXSTYLE " + Hex(dialog.exStyle));
  if (!dialog.menu.isNone()) writer.Line("MENU " + writer.NameOrOrdinal(dialog.menu));
  if (!dialog.windowClass.isNone()) writer.Line("CLASS " + writer.NameOrOrdinal(dialog.windowClass));
  // FONT adds DS_SETFONT, which a template with a font has already.
  if (dialog.hasFont) {
    std::string font = Format("FONT %u, ", unsigned{dialog.pointSize}) + writer.Quoted(dialog.fontName);
    if (dialog.extended)
      font += Format(", %u, %u, %u", unsigned{dialog.weight}, dialog.italic ? 1u : 0u, unsigned{dialog.charset});
    writer.Line(font);
  }
  writer.Line("BEGIN");
  for (const DialogControl& control : dialog.controls) WriteControl(writer, dialog, control);
  writer.Line("END");
  return writer.Finish();
}

bool WriteDialogScript(const DialogTemplate& dialog, const ResourceName& name, const std::string& path) {
  return WriteFileAtomically(path, ToCrLf(DialogScriptText(dialog, name)));
}

}  // namespace qm
