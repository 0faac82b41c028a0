#pragma once
// What the resource browser decides without a window on screen: the module
// opened with the message for a failure or a damaged directory, the tree
// with what each of its items stands for, and which page a selection shows
// with what.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/tree_model.h"
#include "platform/platform.h"
#include "resources/resource_directory.h"
#include "resources/resource_module.h"

namespace qm {

// The six pages, in the order the browser creates them.
enum class ResourcePage { Hex, String, Bitmap, IconGroup, List, Menu };
constexpr size_t kResourcePageCount = 6;
using BuiltPages = std::array<bool, kResourcePageCount>;

// What a page is asked to show.
enum class PageContent {
  Nothing,  // every page hidden
  ModuleStatistics,
  TypeStatistics,
  Version,
  AllStrings,
  StringBlock,
  AllCursorGroups,
  AllIconGroups,
  CursorGroup,
  IconGroup,
  CursorImage,
  Bitmap,
  IconImage,
  Menu,
  DialogPicture,
  HexDump,
};

// What one tree item stands for. A type node carries the type of the first
// resource that made it (the types that share its label are not its own);
// a resource carries its own type and name.
struct ResourceSelection {
  enum class Kind { Nothing, Root, TypeNode, Resource };
  Kind kind = Kind::Nothing;
  ResourceName type;
  ResourceName name;
};

struct PageChoice {
  std::optional<ResourcePage> page;  // none: every page hidden
  PageContent content = PageContent::Nothing;
  ResourceName type;  // for the contents that read one type or resource
  ResourceName name;  // for the contents that read one resource
};

// The page of a selection when all six pages exist.
PageChoice ChooseResourcePage(const ResourceSelection& selection);
// The same with only some pages built: a resource whose page is missing
// shows its bytes on the hex page; statistics and version, and a type whose
// page is missing, hide every page.
PageChoice ChooseResourcePage(const ResourceSelection& selection, const BuiltPages& built);

// The browser's tree, and for each item what it stands for: typeNodes[i]
// for the root's child i, resources[i][j] for that node's child j.
struct ResourceBrowserTree {
  TreeNode root;
  ResourceSelection rootSelection{ResourceSelection::Kind::Root, {}, {}};
  std::vector<ResourceSelection> typeNodes;
  std::vector<std::vector<ResourceSelection>> resources;
};

// The root is the file's name as the file system spells it, "Módulo" when
// the file cannot be found.
ResourceBrowserTree BuildResourceBrowserTree(const CResourceModule& module, const IFiles& files,
                                             const IStrings& strings);

// Opening the module for the browser: the message for a failure (the stop
// icon, the dialog does not show) or the warning for a directory that is
// partly damaged (shown once; the rest is browsed).
struct ResourceBrowserOpening {
  bool opened = false;
  std::string failure;
  std::string damageWarning;
};
ResourceBrowserOpening OpenForBrowsing(CResourceModule& module, const std::string& path, const Platform& platform);

// The system's text for an error with every "%1" replaced by the path. The
// system text is never used as a format: "%2" and friends stay as written.
std::string ReplaceFirstInsert(const std::string& text, const std::string& path);

}  // namespace qm
