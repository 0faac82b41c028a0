// quillmar-cli windows [--all] [--tree] [--json]: the top-level windows of
// the desktop (or with --tree each followed by all its descendants), one
// line per window or a JSON array.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "windows/window_records.h"

namespace qm::cli {

namespace {

const char kUsage[] = "usage: quillmar-cli windows [--all] [--tree] [--json]\n";

int RunWindows(Context& context, const std::vector<std::string>& args) {
  const auto parsed = ParseArguments(context, "windows", kUsage, args, {"--all", "--tree", "--json"});
  if (!parsed) return kExitUsage;
  if (!parsed->positional.empty()) {
    context.err << kUsage;
    return kExitUsage;
  }
  if (!context.platform.windows) {
    ReportError(context, "windows", "reading windows needs Windows");
    return kExitFailure;
  }
  WindowRecordOptions options;
  // Without --all, what the window list shows with none of its filters
  // ticked: the visible top-level windows that have a title and are not an
  // owned pop-up; --all ticks all three.
  if (parsed->Has("--all")) options.filters = WindowListFilters{true, true, true};
  options.tree = parsed->Has("--tree");
  const auto records = ReadWindowRecords(context.platform, options);
  if (parsed->Has("--json"))
    WriteWindowRecordsJson(context.out, records, options.tree);
  else
    WriteWindowRecordsText(context.out, records);
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("windows",
               "windows [--all] [--tree] [--json]  the top-level windows (--all: hidden, untitled and owned ones "
               "too; --tree: with their children) (Windows only)",
               &RunWindows);

}  // namespace qm::cli
