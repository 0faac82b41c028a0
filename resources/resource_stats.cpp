#include "resources/resource_stats.h"

#include "common/text.h"
#include "resources/resource_types.h"

namespace qm {

namespace {
constexpr uint32_t kModuleStatisticsLabel = 4045;  // "Estadísticas del módulo"
constexpr uint32_t kResourceCountLabel = 4046;
constexpr uint32_t kTypeCountLabel = 4047;
constexpr uint32_t kDiskSizeLabel = 4048;
constexpr uint32_t kResourceTypeLabel = 4049;
constexpr uint32_t kLanguageLineLabel = 4084;  // "Lenguaje del bloque"
constexpr uint32_t kFirstStringLabel = 4072;   // fields 0 to 11: 4072 to 4083
constexpr uint32_t kFirstFixedLabel = 4085;    // fields 20 to 27: 4085 to 4092
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
  return info ? info->rtName : strings.LoadString(kUnknownTypeStringId);
}

std::vector<StatisticsRow> ModuleStatisticsRows(const CResourceModule& module, const IStrings& strings) {
  return {
      {strings.LoadString(kModuleStatisticsLabel), module.GetPath()},
      {strings.LoadString(kDiskSizeLabel), FormatSizeText("%s bytes (<%s Kb)", module.GetTotalSize())},
      {strings.LoadString(kResourceCountLabel), std::to_string(module.GetCount())},
      {strings.LoadString(kTypeCountLabel), std::to_string(module.GetTypeCount())},
  };
}

std::vector<StatisticsRow> TypeStatisticsRows(const CResourceModule& module, const ResourceName& type,
                                              const IStrings& strings) {
  return {
      {strings.LoadString(kModuleStatisticsLabel), module.GetPath()},
      {strings.LoadString(kResourceTypeLabel), ResourceTypeRtName(type, strings)},
      {strings.LoadString(kDiskSizeLabel), FormatSizeText("%s bytes (~%s Kb)", module.GetTotalSize(type))},
      {strings.LoadString(kResourceCountLabel), std::to_string(module.GetCount(type))},
  };
}

std::vector<StatisticsRow> VersionInfoRows(CFileVersionInfo& info, const IStrings& strings) {
  std::vector<StatisticsRow> rows;
  const int firstFixed = static_cast<int>(VersionField::FixedFileVersion);
  for (int i = 0; i < kFixedFields; ++i)
    rows.push_back(
        {strings.LoadString(kFirstFixedLabel + static_cast<uint32_t>(i)), info.GetField(firstFixed + i), kFieldTint});
  for (int n = 0; info.SelectTranslation(n); ++n) {
    const uint32_t translation = info.GetTranslation();
    rows.push_back({strings.LoadString(kLanguageLineLabel),
                    info.GetLanguageName() + Format(" [0x%04x%04x]", translation & 0xFFFF, translation >> 16),
                    kLanguageTint});
    for (int i = 0; i < kStringFields; ++i)
      rows.push_back({strings.LoadString(kFirstStringLabel + static_cast<uint32_t>(i)), info.GetField(i), kFieldTint});
  }
  return rows;
}

std::vector<StatisticsRow> VersionPageRows(const CResourceModule& module, const Platform& platform) {
  const IStrings& strings = *platform.strings;
  const ResourceName version = ResourceName::Number(kRtVersion);
  std::vector<StatisticsRow> rows{
      {strings.LoadString(kModuleStatisticsLabel), module.GetPath()},
      {strings.LoadString(kResourceTypeLabel), ResourceTypeRtName(version, strings)},
      {strings.LoadString(kDiskSizeLabel), FormatSizeText("%s bytes (~%s Kb)", module.GetTotalSize(version))},
  };
  // The reader reads the file's version information, not the selected resource.
  CFileVersionInfo info(platform, module.GetPath());
  auto versionRows = VersionInfoRows(info, strings);
  rows.insert(rows.end(), versionRows.begin(), versionRows.end());
  return rows;
}

}  // namespace qm
