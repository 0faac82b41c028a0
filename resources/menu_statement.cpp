#include "resources/menu_statement.h"

#include "common/text.h"
#include "resources/menu_script.h"

namespace qm {

namespace {

// The option words of a plain template and their bits (MF_ values).
struct OptionWord {
  uint32_t bit;
  bool inState;
  const char* word;
};
constexpr OptionWord kPlainOptions[] = {
    {0x1, true, "GRAYED"},
    {0x2, true, "INACTIVE"},
    {kMfsChecked, true, "CHECKED"},
    {kMftMenuBarBreak, false, "MENUBARBREAK"},
    {kMftMenuBreak, false, "MENUBREAK"},
    {0x4000, false, "HELP"},
    {kMftBitmap, false, "BITMAP"},
    {kMftOwnerDraw, false, "OWNERDRAW"},
};

std::optional<std::string> PlainGap(const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    uint32_t typeWords = kMftSeparator, stateWords = 0;
    for (const OptionWord& option : kPlainOptions) (option.inState ? stateWords : typeWords) |= option.bit;
    if (item.state & ~stateWords)
      return Format("item \"%s\" has state bits 0x%x that MENU cannot write", item.text.c_str(), item.state);
    if (item.type & ~typeWords)
      return Format("item \"%s\" has type bits 0x%x that MENU cannot write", item.text.c_str(), item.type);
    // The reader marks an empty string item as a separator; a separator bit
    // on an item with text has no word.
    if ((item.type & kMftSeparator) && !item.text.empty())
      return Format("item \"%s\" is a separator with a text", item.text.c_str());
    if (auto gap = PlainGap(item.submenu)) return gap;
  }
  return std::nullopt;
}

class StatementWriter {
 public:
  void Plain(const std::vector<MenuItem>& items, const std::string& indent) {
    text_ += indent + "BEGIN\n";
    for (const MenuItem& item : items) {
      std::string options;
      for (const OptionWord& option : kPlainOptions)
        if (((option.inState ? item.state : item.type) & option.bit) == option.bit)
          options += ", " + std::string(option.word);
      if (item.hasSubmenu) {
        text_ += indent + "  POPUP " + Quoted(item.text) + options + "\n";
        Plain(item.submenu, indent + "  ");
      } else if (item.text.empty() && item.id == 0 && options.empty()) {
        text_ += indent + "  MENUITEM SEPARATOR\n";
      } else {
        text_ += indent + "  MENUITEM " + Quoted(item.text) + ", " + std::to_string(item.id) + options + "\n";
      }
    }
    text_ += indent + "END\n";
  }

  void Extended(const std::vector<MenuItem>& items, const std::string& indent) {
    text_ += indent + "BEGIN\n";
    for (const MenuItem& item : items) {
      const std::string fields = Format("%s, 0x%x, 0x%x", Id(item.id).c_str(), item.type, item.state);
      if (item.hasSubmenu) {
        text_ += indent + "  POPUP " + Quoted(item.text) + ", " + fields + Format(", 0x%x", item.helpId) + "\n";
        Extended(item.submenu, indent + "  ");
      } else {
        text_ += indent + "  MENUITEM " + Quoted(item.text) + ", " + fields + "\n";
      }
    }
    text_ += indent + "END\n";
  }

  std::string& text() { return text_; }

 private:
  std::string Quoted(const std::string& text) { return QuoteScriptText(text, beyondAscii_); }
  static std::string Id(uint32_t id) { return id > 0x7FFFFFFFu ? Format("0x%x", id) : std::to_string(id); }

  std::string text_;
  bool beyondAscii_ = false;
};

}  // namespace

std::optional<std::string> MenuStatementGap(const Menu& menu) {
  return menu.extended ? std::nullopt : PlainGap(menu.items);
}

std::string MenuStatementText(const Menu& menu, const ResourceName& name) {
  StatementWriter writer;
  bool beyondAscii = false;
  writer.text() = (name.isString ? QuoteScriptText(name.name, beyondAscii) : std::to_string(name.id)) +
                  (menu.extended ? " MENUEX\n" : " MENU\n");
  if (menu.extended)
    writer.Extended(menu.items, "");
  else
    writer.Plain(menu.items, "");
  return writer.text();
}

}  // namespace qm
