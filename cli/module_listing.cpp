#include "cli/module_listing.h"

#include "cli/module_resources.h"

namespace qm::cli {

bool OpenModuleForListing(Context& context, const std::string& path, CResourceModule& module) {
  if (!path.empty() && module.Open(path) && (module.Enumerate() || module.GetLastError() == kErrorResourceDataNotFound))
    return true;
  // Opens once more only to tell what is wrong, in the shared wording.
  return OpenModuleResources(context, path, module);
}

}  // namespace qm::cli
