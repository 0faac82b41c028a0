// quillmar-cli stats FILE [TYPE]: the rows of the statistics page, the
// module's without TYPE and the type's with it, as "label: value" lines.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "resources/resource_stats.h"

namespace qm::cli {

namespace {

int RunStats(Context& context, const std::vector<std::string>& args) {
  constexpr const char* kUsage = "usage: quillmar-cli stats FILE [TYPE]\n";
  const auto parsed = ParseArguments(context, "stats", kUsage, args, {});
  if (!parsed) return kExitUsage;
  const std::vector<std::string>& positional = parsed->positional;
  if (positional.empty() || positional.size() > 2) {
    context.err << kUsage;
    return kExitUsage;
  }
  const std::string& path = positional[0];
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, path, module)) return kExitFailure;
  const IStrings& strings = *context.platform.strings;
  context.out << path << "\n";
  if (ReportNoResources(context, module)) return kExitOk;
  const auto rows = positional.size() == 2 ? TypeStatisticsRows(module, ParseResourceArg(positional[1]), strings)
                                           : ModuleStatisticsRows(module, strings);
  for (const auto& row : rows) context.out << row.label << ": " << row.value << "\n";
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("stats", "stats FILE [TYPE]  the resource statistics of a module or of one type", &RunStats);

}  // namespace qm::cli
