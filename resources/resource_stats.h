#pragma once
// The rows of the statistics list page: the module's statistics (the root of
// the browser selected) and those of one resource type (a type node).

#include <string>
#include <vector>

#include "platform/system.h"
#include "resources/resource_module.h"

namespace qm {

struct StatisticsRow {
  std::string label;
  std::string value;
  int tint = 0;  // 1: dark grey background, 2: light grey, else default
};

std::vector<StatisticsRow> ModuleStatisticsRows(const CResourceModule& module, const IStrings& strings);
std::vector<StatisticsRow> TypeStatisticsRows(const CResourceModule& module, const ResourceName& type,
                                              const IStrings& strings);

// The symbolic name of a type for the "Tipo de recurso" row: RT_xxx, the
// "<desconocido>" text for numbers without one, the name of a named type.
std::string ResourceTypeRtName(const ResourceName& type, const IStrings& strings);

}  // namespace qm
