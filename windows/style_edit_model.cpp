#include "windows/style_edit_model.h"

#include "common/text.h"
#include "res/string_ids.h"

namespace qm {

uint32_t ParseStyleText(std::string_view text) {
  uint32_t word = 0;
  for (char c : text) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9')
      digit = static_cast<uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<uint32_t>(c - 'A' + 10);
    else
      continue;
    word = (word << 4) | digit;
  }
  return word;
}

std::string StyleEditModel::HexText() const { return Format("%08x", m_style); }

std::optional<uint32_t> StyleEditModel::BreakdownTitleId() const {
  if (m_kind >= kWindowStyles && m_kind <= kDialogStyles) return IDS_WINDOW_STYLE_BREAKDOWN;
  if (m_kind == kExtendedStyles) return IDS_EXTENDED_STYLE_BREAKDOWN;
  if (m_kind == kClassStyles) return IDS_CLASS_STYLE_BREAKDOWN;
  return std::nullopt;
}

bool StyleEditModel::CanAccept() const { return m_kind >= kWindowStyles && m_kind <= kExtendedStyles; }

}  // namespace qm
