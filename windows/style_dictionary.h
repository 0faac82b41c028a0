#pragma once
// The platform's style constants as eleven fixed dictionaries, one per kind
// of style word, and the decoding of a word into the names that apply. A
// row applies when (word & mask) == value: plain flags have value == mask,
// the rows of a multi-bit field carry the field's mask.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct StyleEntry {
  uint32_t value;
  uint32_t mask;
  const char* name;  // null ends a dictionary
};

// Which dictionary describes a style word. Stored as a 16-bit signed value
// by the dialogs that carry it.
using StyleKind = int;
inline constexpr StyleKind kWindowStyles = 0;     // WS_
inline constexpr StyleKind kEditStyles = 1;       // ES_, class "edit"
inline constexpr StyleKind kListBoxStyles = 2;    // LBS_, class "listbox"
inline constexpr StyleKind kComboBoxStyles = 3;   // CBS_, class "combobox"
inline constexpr StyleKind kButtonStyles = 4;     // BS_, class "button"
inline constexpr StyleKind kStaticStyles = 5;     // SS_, class "static"
inline constexpr StyleKind kListViewStyles = 6;   // LVS_, class "syslistview32"
inline constexpr StyleKind kDialogStyles = 7;     // DS_, class "#32770"
inline constexpr StyleKind kExtendedStyles = 8;   // WS_EX_
inline constexpr StyleKind kClassStyles = 9;      // CS_
inline constexpr StyleKind kMenuItemStates = 10;  // MFS_
inline constexpr StyleKind kStyleKindCount = 11;

// The rows of a kind's dictionary in their fixed order, without the closing
// row; empty for a kind outside 0..10.
std::span<const StyleEntry> StyleDictionaryRows(StyleKind kind);

// The dictionary for a window's style word by its class name: the name is
// lower-cased and compared exactly ("edit" -> 1 ... "#32770" -> 7), any
// other class is 0.
StyleKind StyleKindForClass(std::string_view className);

class CStyleDictionary {
 public:
  // A kind outside 0..10 gets a dictionary without rows.
  explicit CStyleDictionary(StyleKind kind);
  virtual ~CStyleDictionary() = default;
  CStyleDictionary(const CStyleDictionary&) = default;
  CStyleDictionary& operator=(const CStyleDictionary&) = default;

  // A kind outside 0..10 keeps the current dictionary. The matches stay.
  void SelectKind(StyleKind kind);
  // Finds every row that applies to the word, in dictionary order; returns
  // how many.
  int Decode(uint32_t style);
  int GetCount() const { return static_cast<int>(m_matches.size()); }
  // The value and name of match i; 0 and "" for an index out of range.
  uint32_t GetValue(int i) const;
  std::string GetName(int i) const;

 private:
  const StyleEntry* Match(int i) const;

  std::span<const StyleEntry> m_rows;  // without the closing row
  std::vector<uint32_t> m_matches;
};

struct StyleName {
  std::string name;
  uint32_t value = 0;
  friend bool operator==(const StyleName&, const StyleName&) = default;
};

// The names that apply to a word, as a breakdown list shows them: the kind's
// own names in dictionary order and, for the control kinds 1..7, the WS_
// names of the same word after them. The list boxes sort the names; the
// value travels as each line's item data.
std::vector<StyleName> StyleBreakdown(uint32_t style, StyleKind kind);

}  // namespace qm
