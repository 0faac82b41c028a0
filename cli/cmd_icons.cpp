// quillmar-cli icons FILE [GROUP]: the lines of the icon and cursor group
// page: each group's name, then one line per image (size, colours, bytes).
// Without GROUP every cursor and icon group, in the order the module stores
// them.
#include <ostream>

#include "cli/command.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "resources/icon_group.h"
#include "resources/resource_types.h"

namespace qm::cli {

namespace {

struct GroupRef {
  IconGroupKind kind;
  ResourceName name;
};

ResourceName GroupType(IconGroupKind kind) {
  return ResourceName::Number(kind == IconGroupKind::Cursor ? kRtGroupCursor : kRtGroupIcon);
}

// Prints one group; false after reporting a group that does not decode.
bool PrintGroup(Context& context, const std::string& path, const CResourceModule& module, const GroupRef& group) {
  auto images = ReadIconGroup(*module.image(), module.directory(), group.kind, group.name);
  if (!images) {
    ReportError(context, path,
                "damaged group " + DescribeResource(GroupType(group.kind), group.name) + " (" +
                    DescribeError(images.error()) + ")");
    return false;
  }
  context.out << FormatIconGroupName(group.name) << "\n";
  for (const IconImageInfo& info : *images) context.out << "  " << FormatIconImageLine(info) << "\n";
  return true;
}

int RunIcons(Context& context, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) {
    context.err << "usage: quillmar-cli icons FILE [GROUP]\n";
    return kExitUsage;
  }
  const std::string& path = args[0];
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, path, module)) return kExitFailure;

  std::vector<GroupRef> groups;
  if (args.size() == 2) {
    const ResourceName name = ParseResourceArg(args[1]);
    for (IconGroupKind kind : {IconGroupKind::Icon, IconGroupKind::Cursor}) {
      if (module.directory().Find(GroupType(kind), name)) {
        groups.push_back({kind, name});
        break;
      }
    }
    if (groups.empty()) {
      ReportError(context, path, "no icon or cursor group " + name.ToText());
      return kExitFailure;
    }
  } else {
    for (const ResourceType& type : module.directory().types()) {
      if (type.type.isString || (type.type.id != kRtGroupCursor && type.type.id != kRtGroupIcon)) continue;
      const IconGroupKind kind = type.type.id == kRtGroupCursor ? IconGroupKind::Cursor : IconGroupKind::Icon;
      for (const ResourceItem& item : type.items) groups.push_back({kind, item.name});
    }
  }

  context.out << path << "\n";
  int exitCode = kExitOk;
  for (const GroupRef& group : groups)
    if (!PrintGroup(context, path, module, group)) exitCode = kExitFailure;
  return exitCode;
}

}  // namespace

QM_CLI_COMMAND("icons", "icons FILE [GROUP]  the images of the icon and cursor groups", &RunIcons);

}  // namespace qm::cli
