// quillmar-cli resources FILE... [--json]: the resource browser's tree of
// each module (the file name, its types, their resources), or one JSON object
// per module.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/module_resources.h"
#include "common/text.h"
#include "resources/resource_tree.h"

namespace qm::cli {

namespace {

constexpr const char* kUsage = "usage: quillmar-cli resources FILE... [--json]\n";

int RunResources(Context& context, const std::vector<std::string>& args) {
  const auto parsed = ParseArguments(context, "resources", kUsage, args, {"--json"});
  if (!parsed) return kExitUsage;
  const bool json = parsed->Has("--json");
  const std::vector<std::string>& files = parsed->positional;
  if (files.empty()) {
    context.err << kUsage;
    return kExitUsage;
  }

  int exitCode = kExitOk;
  bool first = true;
  CResourceModule module(*context.platform.files);
  for (const auto& path : files) {
    if (!OpenModuleResources(context, path, module)) {
      exitCode = kExitFailure;
      continue;
    }
    const TreeNode tree = BuildResourceTree(module, BaseName(path, "\\/"), *context.platform.strings);
    if (json) {
      context.out << "{\"file\": " << JsonString(path) << ", \"tree\": ";
      PrintTreeJson(context.out, tree);
      context.out << "}\n";
    } else {
      if (!first) context.out << "\n";
      context.out << path << "\n";
      if (!ReportNoResources(context, module)) PrintTree(context.out, tree);
    }
    first = false;
  }
  return exitCode;
}

}  // namespace

QM_CLI_COMMAND("resources", "resources FILE... [--json]  the resource tree of each module", &RunResources);

}  // namespace qm::cli
