#include "resources/resource_types.h"

#include <array>

namespace qm {
namespace {

constexpr std::array<ResourceTypeInfo, 18> kTypes{{
    {1, "RT_CURSOR", 4035, 17},
    {2, "RT_BITMAP", 4033, 16},
    {3, "RT_ICON", 4036, 19},
    {4, "RT_MENU", 4037, 20},
    {5, "RT_DIALOG", 4034, 18},
    {6, "RT_STRING", 4038, 21},
    {7, "RT_FONTDIR", 4055, 24},
    {8, "RT_FONT", 4054, 24},
    {9, "RT_ACCELERATOR", 4032, 15},
    {10, "RT_RCDATA", 4058, 24},
    {11, "RT_MESSAGETABLE", 4057, 24},
    {12, "RT_GROUP_CURSOR", 4043, 17},
    {14, "RT_GROUP_ICON", 4042, 19},
    {16, "RT_VERSION", 4039, 22},
    {21, "RT_ANICURSOR", 4052, 17},
    {22, "RT_ANIICON", 4053, 19},
    {23, "RT_HTML", 4056, 24},
    {241, "RT_TOOLBAR", 4059, 23},
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
