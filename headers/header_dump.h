#pragma once
// The header dump of a loaded module as a tree: in summary form a digest
// (signatures, machine, subsystem, characteristics, exports, imports), in
// complete form the mapping record, the DOS header and the NT headers field
// by field with the export and import directories. The headers dialog copies
// it into its tree view; quillmar-cli prints it.

#include <string>
#include <vector>

#include "common/tree_model.h"
#include "headers/header_format.h"
#include "headers/module_loader.h"

namespace qm {

struct HeaderDump {
  TreeNode root;
  // Parts of the module that could not be read in full, one line each; the
  // tree holds what was read.
  std::vector<std::string> problems;
};

// The dump of a loaded module (an empty root when nothing is loaded).
HeaderDump BuildHeaderDump(const CModuleLoader& loader, bool complete, const DumpText& text);

}  // namespace qm
