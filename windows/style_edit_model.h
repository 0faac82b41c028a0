#pragma once
// The state of the style editor: one style word, the dictionary that
// describes it, and what the editor's controls show of it. The dialog moves
// this state to and from its controls and decides nothing itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "windows/style_dictionary.h"

namespace qm {

// The word typed into the editor's edit: hexadecimal digits in either case,
// every other character skipped ("0x1A" is 0x1A, "12 34" is 0x1234, "xyz"
// is 0); past eight digits the oldest fall out.
uint32_t ParseStyleText(std::string_view text);

class StyleEditModel {
 public:
  StyleEditModel() = default;
  StyleEditModel(uint32_t style, StyleKind kind) : m_style(style), m_kind(kind) {}

  void SetStyle(uint32_t style, StyleKind kind) {
    m_style = style;
    m_kind = kind;
  }
  uint32_t Style() const { return m_style; }
  StyleKind Kind() const { return m_kind; }

  // The word as the edit shows it: eight lower-case hexadecimal digits.
  std::string HexText() const;
  // The edit lost the focus: its text becomes the word.
  void SetFromText(std::string_view text) { m_style = ParseStyleText(text); }

  // A name's value is added or removed as it stands, never its mask: adding
  // one value of a field leaves the field's other bits, and removing a name
  // of value 0 changes nothing.
  void Add(uint32_t value) { m_style |= value; }
  void Delete(uint32_t value) { m_style &= ~value; }

  // The string shown as the breakdown's title; none for an unknown kind.
  std::optional<uint32_t> BreakdownTitleId() const;
  // Whether "Cambiar" may accept: never for class styles, which are shown
  // only, nor for an unknown kind.
  bool CanAccept() const;

  // The names found in the word, and the names that can still be added (the
  // breakdown of its complement).
  std::vector<StyleName> Breakdown() const { return StyleBreakdown(m_style, m_kind); }
  std::vector<StyleName> AvailableNames() const { return StyleBreakdown(~m_style, m_kind); }

 private:
  uint32_t m_style = 0;
  StyleKind m_kind = kWindowStyles;
};

}  // namespace qm
