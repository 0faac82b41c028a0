// quillmar-cli menu FILE NAME [-o PATH]: a menu resource as the menu page's
// tree (two spaces of indent per level), or with -o the menu script.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "resources/menu_script.h"
#include "resources/menu_tree.h"
#include "resources/resource_types.h"

namespace qm::cli {

namespace {

constexpr const char* kUsage = "usage: quillmar-cli menu FILE NAME [-o PATH]\n";

void PrintItems(Context& context, const std::vector<MenuItem>& items, size_t depth) {
  for (const auto& item : items) {
    context.out << std::string(2 * depth, ' ') << MenuItemTreeText(item, *context.platform.strings) << "\n";
    if (item.hasSubmenu) PrintItems(context, item.submenu, depth + 1);
  }
}

int RunMenu(Context& context, const std::vector<std::string>& args) {
  const auto parsed = ParseArguments(context, "menu", kUsage, args, {}, {"-o"});
  if (!parsed) return kExitUsage;
  const auto& positional = parsed->positional;
  const std::optional<std::string> output = parsed->Value("-o");
  if (positional.size() != 2) {
    context.err << kUsage;
    return kExitUsage;
  }
  const std::string& path = positional[0];
  const ResourceName name = ParseResourceArg(positional[1]);
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, path, module)) return kExitFailure;
  ByteView bytes;
  if (!LoadResourceBytes(context, path, module, ResourceName::Number(kRtMenu), name, bytes)) return kExitFailure;
  auto menu = ParseMenuTemplate(bytes);
  if (!menu) {
    ReportError(context, path,
                "damaged menu " + DescribeResource(ResourceName::Number(kRtMenu), name) + " (" +
                    DescribeError(menu.error()) + ")");
    return kExitFailure;
  }
  if (output) {
    if (!WriteMenuScript(*menu, *output)) {
      ReportError(context, *output, "cannot be written");
      return kExitFailure;
    }
    return kExitOk;
  }
  context.out << path << "\n";
  PrintItems(context, menu->items, 0);
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("menu", "menu FILE NAME [-o PATH]  a menu resource as a tree, or as a menu script", &RunMenu);

}  // namespace qm::cli
