#pragma once
// The rows of the statistics list page: the module's statistics (the root of
// the browser selected), those of one resource type (a type node) and the
// version information (a version resource).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "resources/file_version_info.h"
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

// What a version reader shows: the fixed part's eight rows (tint 2), then
// for every translation it can select a language row (tint 1) and the
// twelve string rows (tint 2).
std::vector<StatisticsRow> VersionInfoRows(CFileVersionInfo& info, const IStrings& strings);
// The version page: the module path, "RT_VERSION" and the size of all its
// version resources, then the VersionInfoRows of the module's file.
std::vector<StatisticsRow> VersionPageRows(const CResourceModule& module, const Platform& platform);

// The text background of a row by its tint, as 0x00BBGGRR: 1 dark grey
// (192, 192, 192), 2 light grey (240, 240, 240); nullopt for default colours.
std::optional<uint32_t> RowTintBackground(int64_t tint);

// The symbolic name of a type for the "Tipo de recurso" row: RT_xxx, the
// "<desconocido>" text for numbers without one, the name of a named type.
std::string ResourceTypeRtName(const ResourceName& type, const IStrings& strings);

}  // namespace qm
