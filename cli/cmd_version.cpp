// quillmar-cli version FILE...: the rows of the version list page, as
// "label: value" lines: the fixed part once, then each translation's
// language line and strings.
#include <ostream>

#include "cli/command.h"
#include "common/text.h"
#include "processes/file_version_info.h"
#include "resources/resource_stats.h"

namespace qm::cli {

namespace {

std::string DescribeFailure(const CFileVersionInfo& info) {
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
  if (args.empty()) {
    context.err << "usage: quillmar-cli version FILE...\n";
    return kExitUsage;
  }
  const IStrings& strings = *context.platform.strings;
  int exitCode = kExitOk;
  bool first = true;
  for (const auto& path : args) {
    // An empty name would read the program itself.
    if (path.empty()) {
      ReportError(context, "\"\"", "cannot be read");
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
    for (const auto& row : VersionInfoRows(info, strings)) context.out << row.label << ": " << row.value << "\n";
  }
  return exitCode;
}

}  // namespace

QM_CLI_COMMAND("version", "version FILE...  the version information of each module", &RunVersion);

}  // namespace qm::cli
