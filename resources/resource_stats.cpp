#include "resources/resource_stats.h"

#include "resources/resource_types.h"

namespace qm {

namespace {
constexpr uint32_t kModuleStatisticsLabel = 4045;  // "Estadísticas del módulo"
constexpr uint32_t kResourceCountLabel = 4046;
constexpr uint32_t kTypeCountLabel = 4047;
constexpr uint32_t kDiskSizeLabel = 4048;
constexpr uint32_t kResourceTypeLabel = 4049;
}  // namespace

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

}  // namespace qm
