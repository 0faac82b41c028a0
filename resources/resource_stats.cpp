#include "resources/resource_stats.h"

#include "common/text.h"
#include "res/string_ids.h"
#include "resources/resource_types.h"

namespace qm {

namespace {
// The labels of the string fields 0 to 11 and of the fixed fields 20 to 27
// follow each other in the string table from their first.
constexpr int kStringFields = 12;
constexpr int kFixedFields = 8;
constexpr int kLanguageTint = 1;
constexpr int kFieldTint = 2;
}  // namespace

std::optional<uint32_t> RowTintBackground(int64_t tint) {
  if (tint == kLanguageTint) return 0x00C0C0C0;
  if (tint == kFieldTint) return 0x00F0F0F0;
  return std::nullopt;
}

std::string ResourceTypeRtName(const ResourceName& type, const IStrings& strings) {
  if (type.isString) return type.name;
  const ResourceTypeInfo* info = FindResourceType(type.id);
  return info ? info->rtName : strings.LoadString(IDS_UNKNOWN_TYPE);
}

std::vector<StatisticsRow> ModuleStatisticsRows(const CResourceModule& module, const IStrings& strings) {
  return {
      {strings.LoadString(IDS_MODULE_STATISTICS), module.GetPath()},
      {strings.LoadString(IDS_DISK_SIZE), FormatSizeText("%s bytes (<%s Kb)", module.GetTotalSize())},
      {strings.LoadString(IDS_RESOURCE_COUNT), std::to_string(module.GetCount())},
      {strings.LoadString(IDS_RESOURCE_TYPE_COUNT), std::to_string(module.GetTypeCount())},
  };
}

std::vector<StatisticsRow> TypeStatisticsRows(const CResourceModule& module, const ResourceName& type,
                                              const IStrings& strings) {
  return {
      {strings.LoadString(IDS_MODULE_STATISTICS), module.GetPath()},
      {strings.LoadString(IDS_RESOURCE_TYPE), ResourceTypeRtName(type, strings)},
      {strings.LoadString(IDS_DISK_SIZE), FormatSizeText("%s bytes (~%s Kb)", module.GetTotalSize(type))},
      {strings.LoadString(IDS_RESOURCE_COUNT), std::to_string(module.GetCount(type))},
  };
}

std::vector<StatisticsRow> VersionInfoRows(CFileVersionInfo& info, const IStrings& strings) {
  std::vector<StatisticsRow> rows;
  const int firstFixed = static_cast<int>(VersionField::FixedFileVersion);
  for (int i = 0; i < kFixedFields; ++i)
    rows.push_back({strings.LoadString(IDS_VERSION_FIXED_LABEL_FIRST + static_cast<uint32_t>(i)),
                    info.GetField(firstFixed + i), kFieldTint});
  for (int n = 0; info.SelectTranslation(n); ++n) {
    const uint32_t translation = info.GetTranslation();
    rows.push_back({strings.LoadString(IDS_VERSION_BLOCK_LANGUAGE),
                    info.GetLanguageName() + Format(" [0x%04x%04x]", translation & 0xFFFF, translation >> 16),
                    kLanguageTint});
    for (int i = 0; i < kStringFields; ++i)
      rows.push_back({strings.LoadString(IDS_VERSION_STRING_LABEL_FIRST + static_cast<uint32_t>(i)), info.GetField(i),
                      kFieldTint});
  }
  return rows;
}

std::vector<StatisticsRow> VersionPageRows(const CResourceModule& module, const Platform& platform) {
  const IStrings& strings = *platform.strings;
  const ResourceName version = ResourceName::Number(kRtVersion);
  std::vector<StatisticsRow> rows{
      {strings.LoadString(IDS_MODULE_STATISTICS), module.GetPath()},
      {strings.LoadString(IDS_RESOURCE_TYPE), ResourceTypeRtName(version, strings)},
      {strings.LoadString(IDS_DISK_SIZE), FormatSizeText("%s bytes (~%s Kb)", module.GetTotalSize(version))},
  };
  // The reader reads the file's version information, not the selected resource.
  CFileVersionInfo info(platform, module.GetPath());
  auto versionRows = VersionInfoRows(info, strings);
  rows.insert(rows.end(), versionRows.begin(), versionRows.end());
  return rows;
}

}  // namespace qm
