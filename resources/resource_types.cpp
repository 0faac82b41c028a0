#include "resources/resource_types.h"

#include <array>

#include "res/string_ids.h"

namespace qm {
namespace {

constexpr std::array<ResourceTypeInfo, 18> kTypes{{
    {1, "RT_CURSOR", IDS_RT_CURSOR, kIconCursor},
    {2, "RT_BITMAP", IDS_RT_BITMAP, kIconPicture},
    {3, "RT_ICON", IDS_RT_ICON, kIconGridPage},
    {4, "RT_MENU", IDS_RT_MENU, kIconStackedBars},
    {5, "RT_DIALOG", IDS_RT_DIALOG, kIconDialog},
    {6, "RT_STRING", IDS_RT_STRING, kIconAbc},
    {7, "RT_FONTDIR", IDS_RT_FONTDIR, kIconQuestionMark},
    {8, "RT_FONT", IDS_RT_FONT, kIconQuestionMark},
    {9, "RT_ACCELERATOR", IDS_RT_ACCELERATOR, kIconKeys},
    {10, "RT_RCDATA", IDS_RT_RCDATA, kIconQuestionMark},
    {11, "RT_MESSAGETABLE", IDS_RT_MESSAGETABLE, kIconQuestionMark},
    {12, "RT_GROUP_CURSOR", IDS_RT_GROUP_CURSOR, kIconCursor},
    {14, "RT_GROUP_ICON", IDS_RT_GROUP_ICON, kIconGridPage},
    {16, "RT_VERSION", IDS_RT_VERSION, kIconVersion},
    {21, "RT_ANICURSOR", IDS_RT_ANICURSOR, kIconCursor},
    {22, "RT_ANIICON", IDS_RT_ANIICON, kIconGridPage},
    {23, "RT_HTML", IDS_RT_HTML, kIconQuestionMark},
    {241, "RT_TOOLBAR", IDS_RT_TOOLBAR, kIconTwoButtons},
}};

struct RtAlias {
  const char* name;
  uint16_t id;
};

// Platform names with no row of their own in the table.
constexpr std::array<RtAlias, 5> kOtherRtNames{{
    {"RT_DLGINCLUDE", 17},
    {"RT_PLUGPLAY", 19},
    {"RT_VXD", 20},
    {"RT_MANIFEST", 24},
    {"RT_DLGINIT", 240},
}};

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

const ResourceTypeInfo* FindResourceType(uint32_t typeId) {
  for (const auto& row : kTypes) {
    if (row.id == typeId) return &row;
  }
  return nullptr;
}

std::optional<uint16_t> ResourceTypeFromRtName(std::string_view rtName) {
  for (const auto& row : kTypes) {
    if (EqualsAsciiNoCase(row.rtName, rtName)) return row.id;
  }
  for (const auto& alias : kOtherRtNames) {
    if (EqualsAsciiNoCase(alias.name, rtName)) return alias.id;
  }
  return std::nullopt;
}

}  // namespace qm
