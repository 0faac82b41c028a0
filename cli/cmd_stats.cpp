// quillmar-cli stats FILE [TYPE]: the rows of the statistics page, the
// module's without TYPE and the type's with it, as "label: value" lines.
#include <ostream>

#include "cli/command.h"
#include "cli/module_listing.h"
#include "cli/resource_args.h"
#include "resources/resource_stats.h"

namespace qm::cli {

namespace {

int RunStats(Context& context, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) {
    context.err << "usage: quillmar-cli stats FILE [TYPE]\n";
    return kExitUsage;
  }
  const std::string& path = args[0];
  CResourceModule module(*context.platform.files);
  if (!OpenModuleForListing(context, path, module)) return kExitFailure;
  const IStrings& strings = *context.platform.strings;
  const auto rows = args.size() == 2 ? TypeStatisticsRows(module, ParseResourceArg(args[1]), strings)
                                     : ModuleStatisticsRows(module, strings);
  context.out << path << "\n";
  for (const auto& row : rows) context.out << row.label << ": " << row.value << "\n";
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("stats", "stats FILE [TYPE]  the resource statistics of a module or of one type", &RunStats);

}  // namespace qm::cli
