#include "resources/extract_messages.h"

#include "common/text.h"
#include "res/string_ids.h"

namespace qm {

std::string ExtractOverwriteQuestion(const IStrings& strings, const std::string& folder,
                                     const std::vector<std::string>& existing) {
  std::string names;
  for (size_t i = 0; i < existing.size() && i < kExtractExistingNamed; ++i)
    names += (i ? "\n" : "") + BaseName(existing[i], "/");
  if (existing.size() > kExtractExistingNamed) names += "\n...";
  return FormatTable(strings.LoadString(IDS_EXTRACT_OVERWRITE), {folder, std::to_string(existing.size()), names});
}

std::string ExtractEndText(const IStrings& strings, const ExtractFolderWriter& writer, const ModuleExtract& extract,
                           ExtractEnd end) {
  const std::string written = std::to_string(writer.Written());
  const std::string count = std::to_string(writer.Count());
  switch (end) {
    case ExtractEnd::Cancelled:
      return FormatTable(strings.LoadString(IDS_EXTRACT_CANCELLED), {written, count, writer.Layout().folder});
    case ExtractEnd::Failed:
      return FormatTable(strings.LoadString(IDS_EXTRACT_WRITE_FAILED),
                         {writer.Done() ? writer.Layout().folder : writer.PathOf(writer.Written()), written, count});
    case ExtractEnd::Written:
      break;
  }
  return FormatTable(strings.LoadString(IDS_EXTRACT_DONE),
                     {writer.Layout().scriptPath, std::to_string(extract.statements), std::to_string(extract.dataFiles),
                      std::to_string(extract.rawFallbacks.size()), std::to_string(extract.damaged.size())});
}

}  // namespace qm
