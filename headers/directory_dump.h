#pragma once
// The export and import directories of a module as items of the header
// dump, in summary form (exported functions, imported libraries) or complete
// form (the directory entry, the directory records and descriptor fields).

#include <string>
#include <vector>

#include "common/tree_model.h"
#include "headers/header_format.h"
#include "headers/module_loader.h"

namespace qm {

// Both add their node under parent whenever the module has NT headers and
// return false when there is nothing to show past it (no NT headers, or no
// directory). Damage met on the way ends that dump with what was read; a
// line describing it goes to problems.
bool AddExportDirectory(TreeNode& parent, const CModuleLoader& loader, bool complete, const DumpText& text,
                        std::vector<std::string>& problems);
bool AddImportDirectory(TreeNode& parent, const CModuleLoader& loader, bool complete, const DumpText& text,
                        std::vector<std::string>& problems);

}  // namespace qm
