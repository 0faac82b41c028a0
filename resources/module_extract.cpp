#include "resources/module_extract.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <set>
#include <string_view>
#include <tuple>

#include "common/text.h"
#include "resources/accelerator_table.h"
#include "resources/bitmap_file.h"
#include "resources/dialog_script.h"
#include "resources/dialog_template.h"
#include "resources/icon_file.h"
#include "resources/menu_script.h"
#include "resources/menu_statement.h"
#include "resources/resource_types.h"
#include "resources/string_block.h"
#include "resources/version_script.h"

namespace qm {

namespace {

constexpr uint16_t kMaxStringBlock = 4096;  // block 4096 holds the last 16-bit identifiers
constexpr uint64_t kBitmapFileHeaderSize = 14;

// Words the compiler reads as statements or options: a custom type spelled
// like one of them would be read as that statement instead.
constexpr const char* kScriptKeywords[] = {
    "ACCELERATORS",   "ANICURSOR", "ANIICON",       "AUTO3STATE", "AUTOCHECKBOX",    "AUTORADIOBUTTON",
    "BEGIN",          "BITMAP",    "BLOCK",         "CAPTION",    "CHARACTERISTICS", "CHECKBOX",
    "CLASS",          "COMBOBOX",  "CONTROL",       "CTEXT",      "CURSOR",          "DEFPUSHBUTTON",
    "DIALOG",         "DIALOGEX",  "DISCARDABLE",   "DLGINCLUDE", "EDITTEXT",        "END",
    "EXSTYLE",        "FILEFLAGS", "FILEFLAGSMASK", "FILEOS",     "FILESUBTYPE",     "FILETYPE",
    "FILEVERSION",    "FIXED",     "FONT",          "FONTDIR",    "GROUPBOX",        "HTML",
    "ICON",           "IMPURE",    "LANGUAGE",      "LISTBOX",    "LOADONCALL",      "LTEXT",
    "MANIFEST",       "MENU",      "MENUBARBREAK",  "MENUBREAK",  "MENUEX",          "MENUITEM",
    "MESSAGETABLE",   "MOVEABLE",  "NOT",           "PLUGPLAY",   "POPUP",           "PRELOAD",
    "PRODUCTVERSION", "PURE",      "PUSHBOX",       "PUSHBUTTON", "RADIOBUTTON",     "RCDATA",
    "RTEXT",          "SCROLLBAR", "SEPARATOR",     "SHIFT",      "STATE3",          "STRINGTABLE",
    "STYLE",          "TOOLBAR",   "USERBUTTON",    "VALUE",      "VERSION",         "VERSIONINFO",
    "VIRTKEY",        "VXD",       "ALT",           "ASCII",      "NOINVERT",        "CHECKED",
    "GRAYED",         "HELP",      "INACTIVE",
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string CaseFolded(std::string text, bool upper) {
  for (char& c : text) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool IsBareIdentifier(const std::string& text) {
  if (text.empty() || !(IsLetter(text[0]) || text[0] == '_')) return false;
  for (char c : text)
    if (!(IsLetter(c) || IsDigit(c) || c == '_')) return false;
  const std::string upper = CaseFolded(text, true);
  return std::none_of(std::begin(kScriptKeywords), std::end(kScriptKeywords),
                      [&](const char* word) { return upper == word; });
}

// A piece of a file name: letters, digits, "-" and "_"; anything else
// (a "/" of a resource name, spaces, characters past ASCII) becomes "_".
std::string SafeFilePart(const std::string& text) {
  std::string out;
  for (char c : text) out.push_back(IsLetter(c) || IsDigit(c) || c == '-' ? c : '_');
  return out.empty() ? "_" : out;
}

class Extractor {
 public:
  Extractor(const PeImage& image, const ResourceDirectory& resources) : image_(image), resources_(resources) {}

  ModuleExtract Run(const std::string& moduleName) {
    out_.script =
        "// The resources of " + OneLine(moduleName) + ", written by quillmar-cli extract.\n#pragma code_page(65001)\n";
    for (const ResourceType& type : resources_.types())
      for (const ResourceItem& item : type.items)
        for (const ResourceLanguage& language : item.languages) One(type.type, item.name, language);
    NoteImagesNoGroupNames();
    for (const ResourceDamage& damage : resources_.damage())
      out_.damaged.push_back({DescribeDamage(damage), "the resource directory is damaged here"});
    if (resources_.unlistedDamage() != 0)
      out_.damaged.push_back(
          {Format("%llu more entries", static_cast<unsigned long long>(resources_.unlistedDamage())), "damaged"});
    if (!out_.damaged.empty()) {
      out_.script += "\n// Left out, damaged:\n";
      for (const ExtractNote& note : out_.damaged)
        out_.script += "//   " + OneLine(note.resource) + ": " + OneLine(note.reason) + "\n";
    }
    return std::move(out_);
  }

 private:
  // Text for a // comment: a line break would end it, and a backslash at
  // its end would make the next line part of it.
  static std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
  }

  void One(const ResourceName& type, const ResourceName& name, const ResourceLanguage& language) {
    const std::string what = DescribeExtractResource(type, name, language.language);
    auto data = ResourceDirectory::Data(image_, language);
    if (!data) {
      out_.damaged.push_back({what, "its data lies outside the file (" + DescribeError(data.error()) + ")"});
      return;
    }
    if (type.isString) return Raw(type, name, language.language, *data, what, std::nullopt);
    switch (type.id) {
      case kRtIcon:
      case kRtCursor:
        return;  // written through their groups
      case kRtGroupIcon:
      case kRtGroupCursor:
        return Group(type.id == kRtGroupIcon ? IconGroupKind::Icon : IconGroupKind::Cursor, name, language, what);
      case kRtBitmap:
        return Bitmap(type, name, language.language, *data, what);
      case kRtString:
        return Strings(type, name, language.language, *data, what);
      case kRtAccelerator: {
        auto table = ParseAcceleratorTable(*data);
        if (!table)
          return Raw(type, name, language.language, *data, what,
                     "the table cannot be read (" + DescribeError(table.error()) + ")");
        if (auto gap = AcceleratorScriptGap(*table)) return Raw(type, name, language.language, *data, what, *gap);
        return Statement(language.language, AcceleratorScriptText(*table, name));
      }
      case kRtMenu: {
        auto menu = ParseMenuTemplate(*data);
        if (!menu)
          return Raw(type, name, language.language, *data, what,
                     "the template cannot be read (" + DescribeError(menu.error()) + ")");
        if (auto gap = MenuStatementGap(*menu)) return Raw(type, name, language.language, *data, what, *gap);
        return Statement(language.language, MenuStatementText(*menu, name));
      }
      case kRtDialog: {
        auto dialog = ParseDialogTemplate(*data);
        if (!dialog)
          return Raw(type, name, language.language, *data, what,
                     "the template cannot be read (" + DescribeError(dialog.error()) + ")");
        return Statement(language.language, WithoutCodePage(DialogScriptText(*dialog, name)));
      }
      case kRtVersion: {
        auto block = VersionBlock::Parse(*data);
        if (!block)
          return Raw(type, name, language.language, *data, what,
                     "the block cannot be read (" + DescribeError(block.error()) + ")");
        if (auto gap = VersionScriptGap(*block)) return Raw(type, name, language.language, *data, what, *gap);
        return Statement(language.language, *VersionScriptText(*block, name));
      }
      default:
        return Raw(type, name, language.language, *data, what, std::nullopt);
    }
  }

  // The script's head already says it is UTF-8; a writer made for a file of
  // its own may say so again.
  static std::string WithoutCodePage(std::string text) {
    for (const char* pragma : {"#pragma code_page(65001)\n\n", "#pragma code_page(65001)\n"})
      if (text.rfind(pragma, 0) == 0) return text.substr(std::string_view(pragma).size());
    return text;
  }

  static std::string LanguageLine(uint16_t language) {
    return Format("LANGUAGE 0x%02x, 0x%02x\n", unsigned{language & 0x3FFu}, unsigned{language} >> 10u);
  }

  // A string name is always quoted: unquoted digits would be a number. Each
  // statement follows its own LANGUAGE line, so the quote cannot join the
  // file name that ends the statement before (adjacent strings are one).
  std::string NameText(const ResourceName& name) {
    bool beyondAscii = false;
    return name.isString ? QuoteScriptText(name.name, beyondAscii) : std::to_string(name.id);
  }

  void Statement(uint16_t language, const std::string& text) {
    out_.script += "\n" + LanguageLine(language) + text;
    ++out_.statements;
  }

  // A data file under res/, named from the type, name and language; names
  // that differ only in case or in characters made safe get a number.
  std::string AddFile(const std::string& typePart, const ResourceName& name, uint16_t language,
                      const std::string& extension, std::vector<uint8_t> bytes) {
    const std::string stem = "res/" + SafeFilePart(typePart) + "_" +
                             SafeFilePart(name.isString ? name.name : std::to_string(name.id)) +
                             Format("_%04x", unsigned{language});
    std::string path = stem + extension;
    for (unsigned n = 2; !paths_.insert(CaseFolded(path, false)).second; ++n)
      path = stem + Format("_%u", n) + extension;
    out_.files.push_back({path, std::move(bytes)});
    return path;
  }

  void FileStatement(uint16_t language, const ResourceName& name, const std::string& keyword, const std::string& path) {
    out_.script += "\n" + LanguageLine(language) + NameText(name) + " " + keyword + " \"" + path + "\"\n";
    ++out_.dataFiles;
  }

  // The bytes as they are, under the numeric type (or a custom type's bare
  // name). fallback names why a statement or file form could not be used.
  void Raw(const ResourceName& type, const ResourceName& name, uint16_t language, const ByteView& data,
           const std::string& what, std::optional<std::string> fallback) {
    std::string typeText;
    if (!type.isString) {
      typeText = std::to_string(type.id);
    } else if (IsBareIdentifier(type.name)) {
      typeText = type.name;
    } else {
      out_.damaged.push_back({what, "the type's name cannot be written in a script (a quoted type is a syntax error)"});
      return;
    }
    const auto bytes = data.bytes();
    if (bytes.size() != data.size()) {
      out_.damaged.push_back({what, "its data cannot be read"});
      return;
    }
    const std::string typePart = type.isString ? type.name : "type" + std::to_string(type.id);
    const std::string path =
        AddFile(typePart, name, language, ".bin", std::vector<uint8_t>(bytes.begin(), bytes.end()));
    out_.script += "\n" + LanguageLine(language) + NameText(name) + " " + typeText + " \"" + path + "\"\n";
    if (fallback)
      out_.rawFallbacks.push_back({what, *fallback});
    else
      ++out_.dataFiles;
  }

  void Group(IconGroupKind kind, const ResourceName& name, const ResourceLanguage& language, const std::string& what) {
    const bool icon = kind == IconGroupKind::Icon;
    auto file = MakeIconFileFromGroup(image_, resources_, kind, name, language.language);
    if (!file) {
      // Never raw: the compiler drops raw images next to ICON statements.
      out_.damaged.push_back({what, DescribeIconFileError(file.error())});
      return;
    }
    NoteImagesOf(kind, language);
    const std::string path =
        AddFile(icon ? "icon" : "cursor", name, language.language, icon ? ".ico" : ".cur", std::move(*file));
    FileStatement(language.language, name, icon ? "ICON" : "CURSOR", path);
  }

  // The images a written group took, so that those no group takes can be
  // named as left out.
  void NoteImagesOf(IconGroupKind kind, const ResourceLanguage& language) {
    const bool icon = kind == IconGroupKind::Icon;
    auto data = ResourceDirectory::Data(image_, language);
    auto group = data ? ParseIconGroup(*data, kind) : Result<IconGroupDirectory>(data.error());
    if (!group) return;
    const ResourceName imageType = ResourceName::Number(icon ? kRtIcon : kRtCursor);
    for (const IconGroupEntry& entry : group->entries) {
      const ResourceItem* item = resources_.Find(imageType, ResourceName::Number(entry.imageId));
      const ResourceLanguage* stored =
          item ? IconImageLanguage(*item, language.language, resources_.UiLanguage()) : nullptr;
      if (stored) usedImages_.insert({icon, entry.imageId, stored->language});
    }
  }

  void NoteImagesNoGroupNames() {
    for (const ResourceType& type : resources_.types()) {
      if (type.type.isString || (type.type.id != kRtIcon && type.type.id != kRtCursor)) continue;
      const bool icon = type.type.id == kRtIcon;
      for (const ResourceItem& item : type.items)
        for (const ResourceLanguage& language : item.languages)
          if (item.name.isString || !usedImages_.count({icon, item.name.id, language.language}))
            out_.damaged.push_back({DescribeExtractResource(type.type, item.name, language.language),
                                    "no group that could be written names this image"});
    }
  }

  void Bitmap(const ResourceName& type, const ResourceName& name, uint16_t language, const ByteView& data,
              const std::string& what) {
    auto layout = ParseDib(data);
    const auto bytes = data.bytes();
    if (!layout || bytes.size() != data.size() ||
        data.size() > std::numeric_limits<uint32_t>::max() - kBitmapFileHeaderSize)
      return Raw(type, name, language, data, what,
                 "the bitmap cannot be read" + (layout ? std::string() : " (" + DescribeError(layout.error()) + ")"));
    // The compiler keeps what follows the file header as it is, so the
    // module's own bytes go after it unchanged.
    std::vector<uint8_t> file{'B', 'M'};
    const auto put32 = [&](uint64_t value) {
      for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    put32(kBitmapFileHeaderSize + data.size());
    put32(0);
    put32(kBitmapFileHeaderSize + layout->pixelOffset);
    file.insert(file.end(), bytes.begin(), bytes.end());
    FileStatement(language, name, "BITMAP", AddFile("bitmap", name, language, ".bmp", std::move(file)));
  }

  void Strings(const ResourceName& type, const ResourceName& name, uint16_t language, const ByteView& data,
               const std::string& what) {
    if (name.isString || name.id == 0 || name.id > kMaxStringBlock)
      return Raw(type, name, language, data, what, "a string table's name must be a block number from 1 to 4096");
    auto strings = DecodeStringBlock(data);
    if (!strings)
      return Raw(type, name, language, data, what, "the block cannot be read (" + DescribeError(strings.error()) + ")");
    if (std::all_of(strings->begin(), strings->end(), [](const std::string& s) { return s.empty(); }))
      return Raw(type, name, language, data, what, "a block without strings is no STRINGTABLE statement");
    std::string text =
        WithoutCodePage(StringTablesText({StringBlock{name.id, *strings}}, StringFileForm::ResourceScript));
    while (text.size() > 1 && text.back() == '\n' && text[text.size() - 2] == '\n') text.pop_back();
    Statement(language, text);
  }

  const PeImage& image_;
  const ResourceDirectory& resources_;
  ModuleExtract out_;
  std::set<std::string> paths_;                                // lower-cased, for file systems that ignore case
  std::set<std::tuple<bool, uint16_t, uint16_t>> usedImages_;  // icon?, ID, language
};

}  // namespace

std::string DescribeExtractResource(const ResourceName& type, const ResourceName& name, uint16_t language) {
  std::string typeText = type.ToText();
  if (!type.isString)
    if (const ResourceTypeInfo* info = FindResourceType(type.id)) typeText = info->rtName;
  return typeText + "/" + name.ToText() + Format(" (0x%04x)", unsigned{language});
}

ModuleExtract ExtractModuleResources(const PeImage& image, const ResourceDirectory& resources,
                                     const std::string& moduleName) {
  return Extractor(image, resources).Run(moduleName);
}

}  // namespace qm
