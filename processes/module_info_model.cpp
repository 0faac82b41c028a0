#include "processes/module_info_model.h"

#include "common/number_format.h"
#include "platform/string_ex.h"
#include "resources/file_version_info.h"
#include "res/string_ids.h"

namespace qm {
namespace {

std::string DateText(const ILocale& locale, uint64_t fileTime) {
  CStringEx text;
  text.SetDate(locale, locale.FileTimeToLocalTime(fileTime));
  return text.m_str;
}

}  // namespace

ModuleFileFields ReadModuleFileFields(const Platform& platform, const std::string& path) {
  ModuleFileFields fields;
  const auto found = platform.files->FindFile(path);
  if (!found) return fields;
  fields.size = FormatNumber(found->size);
  fields.created = DateText(*platform.locale, found->creationTime);
  fields.accessed = DateText(*platform.locale, found->lastAccessTime);
  fields.written = DateText(*platform.locale, found->lastWriteTime);
  fields.readOnly = (found->attributes & FILE_ATTRIBUTE_READONLY_) != 0;
  fields.system = (found->attributes & FILE_ATTRIBUTE_SYSTEM_) != 0;
  fields.hidden = (found->attributes & FILE_ATTRIBUTE_HIDDEN_) != 0;
  fields.compressed = (found->attributes & FILE_ATTRIBUTE_COMPRESSED_) != 0;
  return fields;
}

std::vector<VersionRow> ReadVersionRows(const Platform& platform, const std::string& path) {
  const CFileVersionInfo version(platform, path);
  std::vector<VersionRow> rows(kVersionRowCount);
  for (size_t i = 0; i < kVersionRowCount; ++i) {
    // The labels follow one another in field order.
    rows[i].cells[0] = platform.strings->LoadString(IDS_VERSION_LABEL_FIRST + static_cast<uint32_t>(i));
    rows[i].cells[1] = version.GetField(static_cast<int>(i));
  }
  return rows;
}

}  // namespace qm
