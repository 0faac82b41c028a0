#include "cli/module_resources.h"

#include "common/text.h"
#include "resources/resource_types.h"

namespace qm::cli {

namespace {

std::string DescribeOpenFailure(const CResourceModule& module) {
  const auto& detail = module.GetLastParseError();
  const std::string where = detail ? " (" + DescribeError(*detail) + ")" : "";
  switch (module.GetLastError()) {
    case kErrorFileTooLarge:
      return "too large to be a module";
    case kErrorBadExeFormat:
      return "not a Windows module" + where;
    case kErrorResourceDataNotFound:
      return "no resources";
    case kErrorInvalidData:
      return "damaged resource directory" + where;
    default:
      return "cannot be read";
  }
}

}  // namespace

bool OpenModuleResources(Context& context, const std::string& path, CResourceModule& module) {
  // An empty name would read the program itself on Windows.
  if (path.empty() || !module.Open(path) || !module.Enumerate()) {
    ReportError(context, path.empty() ? "\"\"" : path, path.empty() ? "cannot be read" : DescribeOpenFailure(module));
    return false;
  }
  return true;
}

bool LoadResourceBytes(Context& context, const std::string& path, const CResourceModule& module,
                       const ResourceName& type, const ResourceName& name, ByteView& bytes) {
  auto data = module.LoadResourceData(type, name);
  if (!data) {
    const std::string what = DescribeResource(type, name);
    if (data.error().code == ReadError::NotFound)
      ReportError(context, path, "no resource " + what);
    else
      ReportError(context, path, "damaged resource " + what + " (" + DescribeError(data.error()) + ")");
    return false;
  }
  bytes = *data;
  return true;
}

std::string DescribeResource(const ResourceName& type, const ResourceName& name) {
  std::string typeText = type.ToText();
  if (!type.isString) {
    if (const ResourceTypeInfo* info = FindResourceType(type.id)) typeText = info->rtName;
  }
  return typeText + "/" + name.ToText();
}

}  // namespace qm::cli
