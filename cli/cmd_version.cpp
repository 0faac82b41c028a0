// quillmar-cli version FILE...: the rows of the version list page, as
// "label: value" lines: the fixed part once, then each translation's
// language line and strings.
#include <ostream>

#include "cli/command.h"
#include "common/text.h"
#include "processes/file_version_info.h"

namespace qm::cli {

namespace {

constexpr uint32_t kLanguageLineLabel = 4084;
constexpr uint32_t kFirstStringLabel = 4072;  // fields 0 to 11: 4072 to 4083
constexpr uint32_t kFirstFixedLabel = 4085;   // fields 20 to 27: 4085 to 4092
constexpr int kStringFields = 12;
constexpr int kFirstFixedField = static_cast<int>(VersionField::FixedFileVersion);
constexpr int kFixedFields = 8;

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

void PrintRow(std::ostream& out, const IStrings& strings, uint32_t labelId, const std::string& value) {
  out << strings.LoadString(labelId) << ": " << value << "\n";
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
    for (int i = 0; i < kFixedFields; ++i)
      PrintRow(context.out, strings, kFirstFixedLabel + static_cast<uint32_t>(i), info.GetField(kFirstFixedField + i));
    for (int n = 0; info.SelectTranslation(n); ++n) {
      const uint32_t translation = info.GetTranslation();
      PrintRow(context.out, strings, kLanguageLineLabel,
               info.GetLanguageName() + Format(" [0x%04x%04x]", translation & 0xFFFF, translation >> 16));
      for (int i = 0; i < kStringFields; ++i)
        PrintRow(context.out, strings, kFirstStringLabel + static_cast<uint32_t>(i), info.GetField(i));
    }
  }
  return exitCode;
}

}  // namespace

QM_CLI_COMMAND("version", "version FILE...  the version information of each module", &RunVersion);

}  // namespace qm::cli
