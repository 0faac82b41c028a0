#include "cli/module_resources.h"

#include "common/text.h"
#include "resources/resource_types.h"

namespace qm::cli {

namespace {

std::string DescribeOpenFailure(const CResourceModule& module) {
  if (const auto& refused = module.GetFileError()) return DescribeFileError(*refused);
  const auto& detail = module.GetLastParseError();
  const std::string where = detail ? " (" + DescribeError(*detail) + ")" : "";
  switch (module.GetLastError()) {
    case kErrorBadExeFormat:
      return "not a Windows module" + where;
    case kErrorInvalidData:
      return "damaged resource directory" + where;
    default:
      return "cannot be read" + where;
  }
}

}  // namespace

void ReportWarning(Context& context, const std::string& what, const std::string& message) {
  context.err << "quillmar-cli: " << what << ": warning: " << message << "\n";
}

bool OpenModuleResources(Context& context, const std::string& path, CResourceModule& module) {
  const std::string what = path.empty() ? "\"\"" : path;
  if (!module.Open(path) || (!module.Enumerate() && module.GetLastError() != kErrorResourceDataNotFound)) {
    ReportError(context, what, DescribeOpenFailure(module));
    return false;
  }
  for (const ResourceDamage& damage : module.GetDamage()) ReportWarning(context, what, DescribeDamage(damage));
  if (const size_t unlisted = module.directory().unlistedDamage())
    ReportWarning(context, what,
                  "damaged resource directory: " + std::to_string(unlisted) + " more damaged entries left out");
  return true;
}

bool ReportNoResources(Context& context, const CResourceModule& module) {
  if (module.GetCount() != 0) return false;
  context.out << "no resources\n";
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
