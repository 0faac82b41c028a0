// quillmar-cli icons FILE [[TYPE] GROUP] [--icon|--cursor]: the lines of the
// icon and cursor group page: each group's name, then one line per image
// (size, colours, bytes). Without GROUP every cursor and icon group (of the
// kind named, if any), in the order the module stores them. With -o PATH the
// named group is written as a .ico or .cur file instead.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "common/atomic_file.h"
#include "common/text.h"
#include "resources/icon_file.h"
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

// Prints one group. A group that does not decode adds nothing, as on the
// group page: false after an error when it was named, a warning in a
// listing. An image that cannot be read keeps its line, with a warning.
bool PrintGroup(Context& context, const std::string& path, const CResourceModule& module, const GroupRef& group,
                bool named) {
  const std::string what = DescribeResource(GroupType(group.kind), group.name);
  auto images = ReadIconGroup(*module.image(), module.directory(), group.kind, group.name);
  if (!images) {
    const std::string message = "damaged group " + what + " (" + DescribeError(images.error()) + ")";
    if (!named) {
      ReportWarning(context, path, message + " left out");
      return true;
    }
    ReportError(context, path, message);
    return false;
  }
  context.out << FormatIconGroupName(group.name) << "\n";
  for (const IconImageInfo& info : *images) {
    context.out << "  " << FormatIconImageLine(info) << "\n";
    if (!info.found)
      ReportWarning(context, path, Format("%s: image %u cannot be read", what.c_str(), unsigned{info.imageId}));
  }
  return true;
}

constexpr const char* kUsage = "usage: quillmar-cli icons FILE [[TYPE] GROUP] [--icon|--cursor] [-o PATH [--force]]\n";

// Writes one group as a file. An existing file is kept unless forced, and a
// failed write leaves it as it was.
int WriteGroupFile(Context& context, const std::string& path, const CResourceModule& module, const GroupRef& group,
                   const std::string& output, bool force) {
  std::error_code error;
  const std::filesystem::path target(std::u8string(output.begin(), output.end()));
  if (!force && std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
    ReportError(context, output, "already exists (--force writes over it)");
    return kExitFailure;
  }
  auto file = MakeIconFileFromGroup(*module.image(), module.directory(), group.kind, group.name);
  if (!file) {
    ReportError(context, path,
                "group " + DescribeResource(GroupType(group.kind), group.name) +
                    " cannot be written: " + DescribeIconFileError(file.error()));
    return kExitFailure;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(file->data()), file->size());
  if (!WriteFileAtomically(output, bytes)) {
    ReportError(context, output, "cannot be written");
    return kExitFailure;
  }
  return kExitOk;
}

// The kind a TYPE argument or flag names; nullopt for any other type.
std::optional<IconGroupKind> KindOfType(const ResourceName& type) {
  if (type.isString) return std::nullopt;
  if (type.id == kRtGroupIcon || type.id == kRtIcon) return IconGroupKind::Icon;
  if (type.id == kRtGroupCursor || type.id == kRtCursor) return IconGroupKind::Cursor;
  return std::nullopt;
}

int RunIcons(Context& context, const std::vector<std::string>& args) {
  const auto parsed = ParseArguments(context, "icons", kUsage, args, {"--icon", "--cursor", "--force"}, {"-o"});
  if (!parsed) return kExitUsage;
  const auto& positional = parsed->positional;
  const std::optional<std::string> output = parsed->Value("-o");
  const bool kindFlag = parsed->Has("--icon") || parsed->Has("--cursor");
  // A file holds one group: -o needs GROUP, --force needs -o.
  if (positional.empty() || positional.size() > 3 || (parsed->Has("--icon") && parsed->Has("--cursor")) ||
      (positional.size() == 3 && kindFlag) || (output && (positional.size() < 2 || output->empty())) ||
      (parsed->Has("--force") && !output)) {
    context.err << kUsage;
    return kExitUsage;
  }
  // A group number can be both an icon group's and a cursor group's (the
  // system cursors and icons share 32512...): the kind may be named.
  std::optional<IconGroupKind> wanted;
  if (parsed->Has("--icon")) wanted = IconGroupKind::Icon;
  if (parsed->Has("--cursor")) wanted = IconGroupKind::Cursor;
  if (positional.size() == 3) {
    wanted = KindOfType(ParseResourceArg(positional[1]));
    if (!wanted) {
      context.err << "quillmar-cli: icons: TYPE is RT_GROUP_ICON (14) or RT_GROUP_CURSOR (12)\n" << kUsage;
      return kExitUsage;
    }
  }
  const std::string& path = positional[0];
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, path, module)) return kExitFailure;

  std::vector<GroupRef> groups;
  if (positional.size() >= 2) {
    const ResourceName name = ParseResourceArg(positional.back());
    std::vector<IconGroupKind> kinds = {IconGroupKind::Icon, IconGroupKind::Cursor};
    if (wanted) kinds = {*wanted};
    for (IconGroupKind kind : kinds) {
      if (module.directory().Find(GroupType(kind), name)) {
        groups.push_back({kind, name});
        break;
      }
    }
    if (groups.empty()) {
      const char* what = !wanted                          ? "icon or cursor group"
                         : *wanted == IconGroupKind::Icon ? "icon group"
                                                          : "cursor group";
      ReportError(context, path, std::string("no ") + what + " " + name.ToText());
      return kExitFailure;
    }
    if (output) return WriteGroupFile(context, path, module, groups.front(), *output, parsed->Has("--force"));
    context.out << path << "\n";
  } else {
    context.out << path << "\n";
    if (ReportNoResources(context, module)) return kExitOk;
    for (const ResourceType& type : module.directory().types()) {
      if (type.type.isString || (type.type.id != kRtGroupCursor && type.type.id != kRtGroupIcon)) continue;
      const IconGroupKind kind = type.type.id == kRtGroupCursor ? IconGroupKind::Cursor : IconGroupKind::Icon;
      if (wanted && kind != *wanted) continue;
      for (const ResourceItem& item : type.items) groups.push_back({kind, item.name});
    }
  }

  int exitCode = kExitOk;
  for (const GroupRef& group : groups)
    if (!PrintGroup(context, path, module, group, positional.size() >= 2)) exitCode = kExitFailure;
  return exitCode;
}

}  // namespace

QM_CLI_COMMAND("icons",
               "icons FILE [[TYPE] GROUP] [--icon|--cursor] [-o PATH [--force]]  the images of the icon and cursor "
               "groups, or one group as a .ico/.cur file",
               &RunIcons);

}  // namespace qm::cli
