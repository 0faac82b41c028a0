#include "resources/menu_script.h"

#include "common/atomic_file.h"

namespace qm {

namespace {

class ScriptWriter {
 public:
  void Block(const std::vector<MenuItem>& items, size_t depth) {
    const std::string indent(depth, '\t');
    text_ += indent + "BEGIN\n";
    for (const auto& item : items) {
      if (item.hasSubmenu) {
        text_ += indent + "\tPOPUP " + QuoteScriptText(item.text, beyondAscii_) + "\n";
        Block(item.submenu, depth + 1);
      } else {
        text_ += indent + ItemLine(item) + "\n";
      }
    }
    text_ += indent + "END\n";
  }

  std::string Finish() {
    // The compiler reads the script in the system's code page unless told it
    // is UTF-8.
    std::string head = beyondAscii_ ? "#pragma code_page(65001)\n" : "";
    return head + "#include \"winuser.h\"\n\n\"MENU1\" MENUEX PRELOAD DISCARDABLE\n" + text_;
  }

 private:
  std::string ItemLine(const MenuItem& item) {
    // An empty text with identifier 0: what a compiler accepts for a
    // separator inside MENUEX.
    if (item.type & kMftSeparator) return "\tMENUITEM \"\", 0, MFT_SEPARATOR";
    std::string line;
    const std::string id = std::to_string(item.id);
    if (item.type & kMftBitmap)
      line = "\tMENUITEM \"<bitmap>\",\t" + id + ", MFT_BITMAP";
    else if (item.type & kMftOwnerDraw)
      line = "\tMENUITEM \"<ownerdraw>\",\t" + id + ", MFT_OWNERDRAW";
    else
      line = "\tMENUITEM " + QuoteScriptText(item.text, beyondAscii_) + ",\t" + id + ", MFT_STRING";
    if (item.type & kMftMenuBreak) line += " | MFT_MENUBREAK";
    if (item.type & kMftMenuBarBreak) line += " | MFT_MENUBARBREAK";
    if (item.type & kMftRadioCheck) line += " | MFT_RADIOCHECK";
    if (item.type & kMftRightJustify) line += " | MFT_RIGHTJUSTIFY";
    if (item.type & kMftRightOrder) line += " | MFT_RIGHTORDER";
    line += (item.state & kMfsGrayed) ? ", MFS_GRAYED" : ", MFS_ENABLED";
    if (item.state & kMfsChecked) line += " | MFS_CHECKED";
    if (item.state & kMfsHilite) line += " | MFS_HILITE";
    return line;
  }

  std::string text_;
  bool beyondAscii_ = false;
};

}  // namespace

// Inside a quoted text a resource compiler reads "" as one quote and \ as the
// start of an escape, so both are doubled. Tabs (the accelerator column) and
// "&" stay as they are.
std::string QuoteScriptText(const std::string& text, bool& beyondAscii) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"')
      out += "\"\"";
    else if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\0')
      out += "\\000";
    else
      out.push_back(c);
    if (static_cast<unsigned char>(c) >= 0x80) beyondAscii = true;
  }
  return out + "\"";
}

std::string MenuScriptText(const Menu& menu) {
  ScriptWriter writer;
  writer.Block(menu.items, 0);
  return writer.Finish();
}

bool WriteMenuScript(const Menu& menu, const std::string& path) {
  return WriteFileAtomically(path, ToCrLf(MenuScriptText(menu)));
}

}  // namespace qm
