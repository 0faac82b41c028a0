#include "windows/style_dictionary.h"

#include <array>
#include <iterator>

namespace qm {

namespace {

constexpr StyleEntry kWindow[] = {
    {0x00800000, 0x00800000, "WS_BORDER"},
    {0x00400000, 0x00400000, "WS_DLGFRAME"},
    {0x00C00000, 0x00C00000, "WS_CAPTION"},
    {0x02000000, 0x02000000, "WS_CLIPCHILDREN"},
    {0x04000000, 0x04000000, "WS_CLIPSIBLINGS"},
    {0x08000000, 0x08000000, "WS_DISABLED"},
    {0x00020000, 0x00020000, "WS_GROUP"},
    {0x00100000, 0x00100000, "WS_HSCROLL"},
    {0x00200000, 0x00200000, "WS_VSCROLL"},
    {0x20000000, 0x20000000, "WS_MINIMIZE"},
    {0x01000000, 0x01000000, "WS_MAXIMIZE"},
    {0x00010000, 0x00010000, "WS_MAXIMIZEBOX"},
    {0x00020000, 0x00020000, "WS_MINIMIZEBOX"},
    {0x40000000, 0x40000000, "WS_CHILD"},
    {0x80000000, 0x80000000, "WS_POPUP"},
    // Only the pop-up bit decides: a child window reads as overlapped too.
    {0x00000000, 0x80000000, "WS_OVERLAPPED"},
    {0x80880000, 0x80880000, "WS_POPUPWINDOW"},
    {0x00CF0000, 0x80CF0000, "WS_OVERLAPPEDWINDOW"},
    {0x00080000, 0x00080000, "WS_SYSMENU"},
    {0x00010000, 0x00010000, "WS_TABSTOP"},
    {0x00040000, 0x00040000, "WS_THICKFRAME"},
    {0x10000000, 0x10000000, "WS_VISIBLE"},
    {0, 0, nullptr},
};

constexpr StyleEntry kEdit[] = {
    {0x0080, 0x0080, "ES_AUTOHSCROLL"}, {0x0040, 0x0040, "ES_AUTOVSCROLL"},
    {0x0000, 0x0003, "ES_LEFT"},        {0x0002, 0x0003, "ES_RIGHT"},
    {0x0001, 0x0003, "ES_CENTER"},      {0x0010, 0x0010, "ES_LOWERCASE"},
    {0x0008, 0x0008, "ES_UPPERCASE"},   {0x0004, 0x0004, "ES_MULTILINE"},
    {0x0100, 0x0100, "ES_NOHIDESEL"},   {0x0400, 0x0400, "ES_OEMCONVERT"},
    {0x0020, 0x0020, "ES_PASSWORD"},    {0x0800, 0x0800, "ES_READONLY"},
    {0x1000, 0x1000, "ES_WANTRETURN"},  {0, 0, nullptr},
};

constexpr StyleEntry kListBox[] = {
    {0x0800, 0x0800, "LBS_EXTENDEDSEL"},
    {0x0040, 0x0040, "LBS_HASSTRINGS"},
    {0x0200, 0x0200, "LBS_MULTICOLUMN"},
    {0x0008, 0x0008, "LBS_MULTIPLESEL"},
    {0x0100, 0x0100, "LBS_NOINTEGRALHEIGHT"},
    {0x0004, 0x0004, "LBS_NOREDRAW"},
    {0x0001, 0x0001, "LBS_NOTIFY"},
    {0x0010, 0x0010, "LBS_OWNERDRAWFIXED"},
    {0x0020, 0x0020, "LBS_OWNERDRAWVARIABLE"},
    {0x0002, 0x0002, "LBS_SORT"},
    // Includes WS_VSCROLL and WS_BORDER.
    {0x00A00003, 0x00A00003, "LBS_STANDARD"},
    {0x0080, 0x0080, "LBS_USETABSTOPS"},
    {0x0400, 0x0400, "LBS_WANTKEYBOARDINPUT"},
    {0x1000, 0x1000, "LBS_DISABLENOSCROLL"},
    {0, 0, nullptr},
};

constexpr StyleEntry kComboBox[] = {
    {0x0040, 0x0040, "CBS_AUTOHSCROLL"},
    {0x0001, 0x0003, "CBS_SIMPLE"},
    {0x0002, 0x0003, "CBS_DROPDOWN"},
    {0x0003, 0x0003, "CBS_DROPDOWNLIST"},
    {0x0200, 0x0200, "CBS_HASSTRINGS"},
    {0x0080, 0x0080, "CBS_OEMCONVERT"},
    {0x0010, 0x0010, "CBS_OWNERDRAWFIXED"},
    {0x0020, 0x0020, "CBS_OWNERDRAWVARIABLE"},
    {0x0100, 0x0100, "CBS_SORT"},
    {0x0800, 0x0800, "CBS_DISABLENOSCROLL"},
    {0x0400, 0x0400, "CBS_NOINTEGRALHEIGHT"},
    {0x2000, 0x2000, "CBS_UPPERCASE"},
    {0x4000, 0x4000, "CBS_LOWERCASE"},
    {0, 0, nullptr},
};

// Fields: the type under 0x0F (0x0A has no name), the content under 0xC0,
// the horizontal alignment under 0x300, the vertical one under 0xC00.
constexpr StyleEntry kButton[] = {
    {0x0000, 0x000F, "BS_PUSHBUTTON"},  {0x0001, 0x000F, "BS_DEFPUSHBUTTON"},
    {0x0002, 0x000F, "BS_CHECKBOX"},    {0x0003, 0x000F, "BS_AUTOCHECKBOX"},
    {0x0004, 0x000F, "BS_RADIOBUTTON"}, {0x0005, 0x000F, "BS_3STATE"},
    {0x0006, 0x000F, "BS_AUTO3STATE"},  {0x0007, 0x000F, "BS_GROUPBOX"},
    {0x0008, 0x000F, "BS_USERBUTTON"},  {0x0009, 0x000F, "BS_AUTORADIOBUTTON"},
    {0x000B, 0x000F, "BS_OWNERDRAW"},   {0x0020, 0x0020, "BS_LEFTTEXT"},
    {0x0000, 0x00C0, "BS_TEXT"},        {0x0040, 0x00C0, "BS_ICON"},
    {0x0080, 0x00C0, "BS_BITMAP"},      {0x0100, 0x0300, "BS_LEFT"},
    {0x0200, 0x0300, "BS_RIGHT"},       {0x0300, 0x0300, "BS_CENTER"},
    {0x0400, 0x0C00, "BS_TOP"},         {0x0800, 0x0C00, "BS_BOTTOM"},
    {0x0C00, 0x0C00, "BS_VCENTER"},     {0x1000, 0x1000, "BS_PUSHLIKE"},
    {0x2000, 0x2000, "BS_MULTILINE"},   {0x4000, 0x4000, "BS_NOTIFY"},
    {0x8000, 0x8000, "BS_FLAT"},        {0, 0, nullptr},
};

// Fields: the type under 0x1F (SS_TYPEMASK names the unused type 0x1F), the
// ellipsis under 0xC000.
constexpr StyleEntry kStatic[] = {
    {0x00, 0x1F, "SS_LEFT"},
    {0x01, 0x1F, "SS_CENTER"},
    {0x02, 0x1F, "SS_RIGHT"},
    {0x03, 0x1F, "SS_ICON"},
    {0x04, 0x1F, "SS_BLACKRECT"},
    {0x05, 0x1F, "SS_GRAYRECT"},
    {0x06, 0x1F, "SS_WHITERECT"},
    {0x07, 0x1F, "SS_BLACKFRAME"},
    {0x08, 0x1F, "SS_GRAYFRAME"},
    {0x09, 0x1F, "SS_WHITEFRAME"},
    {0x0A, 0x1F, "SS_USERITEM"},
    {0x0B, 0x1F, "SS_SIMPLE"},
    {0x0C, 0x1F, "SS_LEFTNOWORDWRAP"},
    {0x0D, 0x1F, "SS_OWNERDRAW"},
    {0x0E, 0x1F, "SS_BITMAP"},
    {0x0F, 0x1F, "SS_ENHMETAFILE"},
    {0x10, 0x1F, "SS_ETCHEDHORZ"},
    {0x11, 0x1F, "SS_ETCHEDVERT"},
    {0x12, 0x1F, "SS_ETCHEDFRAME"},
    {0x1F, 0x1F, "SS_TYPEMASK"},
    {0x0080, 0x0080, "SS_NOPREFIX"},
    {0x0100, 0x0100, "SS_NOTIFY"},
    {0x0200, 0x0200, "SS_CENTERIMAGE"},
    {0x0400, 0x0400, "SS_RIGHTJUST"},
    {0x0800, 0x0800, "SS_REALSIZEIMAGE"},
    {0x1000, 0x1000, "SS_SUNKEN"},
    {0x4000, 0xC000, "SS_ENDELLIPSIS"},
    {0x8000, 0xC000, "SS_PATHELLIPSIS"},
    {0xC000, 0xC000, "SS_WORDELLIPSIS"},
    {0, 0, nullptr},
};

// Fields: the view under 0x03, the alignment under 0xC00 (which also holds
// LVS_OWNERDRAWFIXED's bit).
constexpr StyleEntry kListView[] = {
    {0x0000, 0x0003, "LVS_ICON"},
    {0x0001, 0x0003, "LVS_REPORT"},
    {0x0002, 0x0003, "LVS_SMALLICON"},
    {0x0003, 0x0003, "LVS_LIST"},
    {0x0004, 0x0004, "LVS_SINGLESEL"},
    {0x0008, 0x0008, "LVS_SHOWSELALWAYS"},
    {0x0010, 0x0010, "LVS_SORTASCENDING"},
    {0x0020, 0x0020, "LVS_SORTDESCENDING"},
    {0x0040, 0x0040, "LVS_SHAREIMAGELISTS"},
    {0x0080, 0x0080, "LVS_NOLABELWRAP"},
    {0x0100, 0x0100, "LVS_AUTOARRANGE"},
    {0x0200, 0x0200, "LVS_EDITLABELS"},
    {0x1000, 0x1000, "LVS_OWNERDATA"},
    {0x2000, 0x2000, "LVS_NOSCROLL"},
    {0x0000, 0x0C00, "LVS_ALIGNTOP"},
    {0x0800, 0x0C00, "LVS_ALIGNLEFT"},
    {0x0400, 0x0400, "LVS_OWNERDRAWFIXED"},
    {0x4000, 0x4000, "LVS_NOCOLUMNHEADER"},
    {0x8000, 0x8000, "LVS_NOSORTHEADER"},
    {0, 0, nullptr},
};

constexpr StyleEntry kDialog[] = {
    {0x0001, 0x0001, "DS_ABSALIGN"},      {0x0002, 0x0002, "DS_SYSMODAL"},     {0x0004, 0x0004, "DS_3DLOOK"},
    {0x0008, 0x0008, "DS_FIXEDSYS"},      {0x0010, 0x0010, "DS_NOFAILCREATE"}, {0x0020, 0x0020, "DS_LOCALEDIT"},
    {0x0040, 0x0040, "DS_SETFONT"},       {0x0080, 0x0080, "DS_MODALFRAME"},   {0x0100, 0x0100, "DS_NOIDLEMSG"},
    {0x0200, 0x0200, "DS_SETFOREGROUND"}, {0x0400, 0x0400, "DS_CONTROL"},      {0x0800, 0x0800, "DS_CENTER"},
    {0x1000, 0x1000, "DS_CENTERMOUSE"},   {0x2000, 0x2000, "DS_CONTEXTHELP"},  {0, 0, nullptr},
};

// Bit 0x2 has no name.
constexpr StyleEntry kExtended[] = {
    {0x00000001, 0x00000001, "WS_EX_DLGMODALFRAME"}, {0x00000004, 0x00000004, "WS_EX_NOPARENTNOTIFY"},
    {0x00000008, 0x00000008, "WS_EX_TOPMOST"},       {0x00000010, 0x00000010, "WS_EX_ACCEPTFILES"},
    {0x00000020, 0x00000020, "WS_EX_TRANSPARENT"},   {0x00000040, 0x00000040, "WS_EX_MDICHILD"},
    {0x00000080, 0x00000080, "WS_EX_TOOLWINDOW"},    {0x00000100, 0x00000100, "WS_EX_WINDOWEDGE"},
    {0x00000200, 0x00000200, "WS_EX_CLIENTEDGE"},    {0x00000400, 0x00000400, "WS_EX_CONTEXTHELP"},
    {0x00000000, 0x00001000, "WS_EX_LEFT"},          {0x00001000, 0x00001000, "WS_EX_RIGHT"},
    {0x00000000, 0x00002000, "WS_EX_LTRREADING"},    {0x00002000, 0x00002000, "WS_EX_RTLREADING"},
    {0x00004000, 0x00004000, "WS_EX_LEFTSCROLLBAR"}, {0x00000000, 0x00004000, "WS_EX_RIGHTSCROLLBAR"},
    {0x00010000, 0x00010000, "WS_EX_CONTROLPARENT"}, {0x00020000, 0x00020000, "WS_EX_STATICEDGE"},
    {0x00040000, 0x00040000, "WS_EX_APPWINDOW"},     {0x00000300, 0x00000300, "WS_EX_OVERLAPPEDWINDOW"},
    {0x00000188, 0x00000188, "WS_EX_PALETTEWINDOW"}, {0, 0, nullptr},
};

constexpr StyleEntry kClass[] = {
    {0x00001, 0x00001, "CS_VREDRAW"},
    {0x00002, 0x00002, "CS_HREDRAW"},
    {0x00008, 0x00008, "CS_DBLCLKS"},
    {0x00020, 0x00020, "CS_OWNDC"},
    {0x00040, 0x00040, "CS_CLASSDC"},
    {0x00080, 0x00080, "CS_PARENTDC"},
    {0x00200, 0x00200, "CS_NOCLOSE"},
    {0x00800, 0x00800, "CS_SAVEBITS"},
    {0x01000, 0x01000, "CS_BYTEALIGNCLIENT"},
    {0x02000, 0x02000, "CS_BYTEALIGNWINDOW"},
    {0x04000, 0x04000, "CS_GLOBALCLASS"},
    {0x10000, 0x10000, "CS_IME"},
    {0, 0, nullptr},
};

// MFS_DISABLED and MFS_GRAYED are the same value and always listed together.
constexpr StyleEntry kMenuState[] = {
    {0x1000, 0x1000, "MFS_DEFAULT"}, {0x0000, 0x0003, "MFS_ENABLED"},  {0x0003, 0x0003, "MFS_DISABLED"},
    {0x0003, 0x0003, "MFS_GRAYED"},  {0x0008, 0x0008, "MFS_CHECKED"},  {0x0000, 0x0008, "MFS_UNCHECKED"},
    {0x0080, 0x0080, "MFS_HILITE"},  {0x0000, 0x0080, "MFS_UNHILITE"}, {0, 0, nullptr},
};

constexpr std::array<std::span<const StyleEntry>, kStyleKindCount> kDictionaries = {
    kWindow, kEdit, kListBox, kComboBox, kButton, kStatic, kListView, kDialog, kExtended, kClass, kMenuState,
};

bool ValidKind(StyleKind kind) { return kind >= 0 && kind < kStyleKindCount; }

}  // namespace

std::span<const StyleEntry> StyleDictionaryRows(StyleKind kind) {
  if (!ValidKind(kind)) return {};
  const auto rows = kDictionaries[static_cast<size_t>(kind)];
  return rows.first(rows.size() - 1);
}

StyleKind StyleKindForClass(std::string_view className) {
  std::string lower(className);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  constexpr std::pair<std::string_view, StyleKind> kClasses[] = {
      {"edit", kEditStyles},     {"listbox", kListBoxStyles}, {"combobox", kComboBoxStyles},
      {"button", kButtonStyles}, {"static", kStaticStyles},   {"syslistview32", kListViewStyles},
      {"#32770", kDialogStyles},
  };
  for (const auto& [name, kind] : kClasses)
    if (lower == name) return kind;
  return kWindowStyles;
}

CStyleDictionary::CStyleDictionary(StyleKind kind) { SelectKind(kind); }

void CStyleDictionary::SelectKind(StyleKind kind) {
  if (ValidKind(kind)) m_rows = StyleDictionaryRows(kind);
}

int CStyleDictionary::Decode(uint32_t style) {
  m_matches.clear();
  for (size_t i = 0; i < m_rows.size(); ++i)
    if ((style & m_rows[i].mask) == m_rows[i].value) m_matches.push_back(static_cast<uint32_t>(i));
  return GetCount();
}

const StyleEntry* CStyleDictionary::Match(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  // Matches of an earlier, longer dictionary may outlive a SelectKind
  // without a new Decode: never read past the current one.
  const uint32_t row = m_matches[static_cast<size_t>(i)];
  return row < m_rows.size() ? &m_rows[row] : nullptr;
}

uint32_t CStyleDictionary::GetValue(int i) const {
  const StyleEntry* row = Match(i);
  return row ? row->value : 0;
}

std::string CStyleDictionary::GetName(int i) const {
  const StyleEntry* row = Match(i);
  return row ? row->name : std::string();
}

std::vector<StyleName> StyleBreakdown(uint32_t style, StyleKind kind) {
  std::vector<StyleName> names;
  CStyleDictionary dictionary(kind);
  auto add = [&] {
    const int count = dictionary.Decode(style);
    for (int i = 0; i < count; ++i) names.push_back({dictionary.GetName(i), dictionary.GetValue(i)});
  };
  add();
  // A control's own dictionary says nothing of the generic window bits of
  // the same word.
  if (kind >= kEditStyles && kind <= kDialogStyles) {
    dictionary.SelectKind(kWindowStyles);
    add();
  }
  return names;
}

}  // namespace qm
