// quillmar-cli version FILE...: the rows of the version list page, as
// "label: value" lines: the fixed part once, then each translation's
// language line and strings.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "platform/module_file.h"
#include "common/text.h"
#include "resources/file_version_info.h"
#include "resources/resource_stats.h"

namespace qm::cli {

namespace {

std::string DescribeFailure(const CFileVersionInfo& info) {
  if (const auto& refused = info.GetFileError()) return DescribeFileError(*refused);
  const std::string where = DescribeError(info.GetOpenError());
  switch (info.GetOpenFailure()) {
    case VersionOpenFailure::CannotRead:
      return "cannot be read";
    case VersionOpenFailure::TooLarge:
      return "too large to be a module";
    case VersionOpenFailure::NotAModule:
      return "not a Windows module (" + where + ")";
    case VersionOpenFailure::BadResources:
      return "damaged resource directory (" + where + ")";
    case VersionOpenFailure::NoVersionResource:
      return "no version information";
    case VersionOpenFailure::DamagedBlock:
      return "damaged version information (" + where + ")";
    case VersionOpenFailure::NoTranslation:
    case VersionOpenFailure::None:
      break;
  }
  return {};
}

int RunVersion(Context& context, const std::vector<std::string>& args) {
  constexpr const char* kUsage = "usage: quillmar-cli version FILE...\n";
  const auto parsed = ParseArguments(context, "version", kUsage, args, {});
  if (!parsed) return kExitUsage;
  if (parsed->positional.empty()) {
    context.err << kUsage;
    return kExitUsage;
  }
  const IStrings& strings = *context.platform.strings;
  int exitCode = kExitOk;
  bool first = true;
  for (const auto& path : parsed->positional) {
    // An empty name would read the program itself.
    if (path.empty()) {
      ReportError(context, "\"\"", DescribeFileError(FileError{FileFailure::NotFound, kErrorFileNotFound}));
      exitCode = kExitFailure;
      continue;
    }
    CFileVersionInfo info(context.platform, path);
    // A block without a translation table still shows, as the page does:
    // its fixed rows as the reader gives them and no language rows.
    if (info.GetOpenFailure() != VersionOpenFailure::None &&
        info.GetOpenFailure() != VersionOpenFailure::NoTranslation) {
      ReportError(context, path, DescribeFailure(info));
      exitCode = kExitFailure;
      continue;
    }
    if (!first) context.out << "\n";
    first = false;
    context.out << path << "\n";
    // The version page's rows: the module, "RT_VERSION" and the size of its
    // version resources first.
    CResourceModule module(*context.platform.files);
    const bool listed = module.Open(path) && module.Enumerate();
    const auto rows = listed ? VersionPageRows(module, context.platform) : VersionInfoRows(info, strings);
    for (const auto& row : rows) context.out << row.label << ": " << row.value << "\n";
  }
  return exitCode;
}

}  // namespace

QM_CLI_COMMAND("version", "version FILE...  the version information of each module", &RunVersion);

}  // namespace qm::cli
