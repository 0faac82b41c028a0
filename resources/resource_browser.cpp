#include "resources/resource_browser.h"

#include <cstdint>
#include <unordered_map>

#include "common/text.h"
#include "platform/error_text.h"
#include "res/string_ids.h"
#include "resources/resource_tree.h"
#include "resources/resource_types.h"

namespace qm {

namespace {

PageChoice Show(ResourcePage page, PageContent content, const ResourceName& type = {}, const ResourceName& name = {}) {
  return PageChoice{page, content, type, name};
}

PageChoice ChooseForType(const ResourceName& type) {
  if (!type.isString) {
    switch (type.id) {
      case kRtString:
        return Show(ResourcePage::String, PageContent::AllStrings, type);
      case kRtGroupCursor:
        return Show(ResourcePage::IconGroup, PageContent::AllCursorGroups, type);
      case kRtGroupIcon:
        return Show(ResourcePage::IconGroup, PageContent::AllIconGroups, type);
      default:
        break;
    }
  }
  return Show(ResourcePage::List, PageContent::TypeStatistics, type);
}

PageChoice ChooseForResource(const ResourceName& type, const ResourceName& name) {
  const PageChoice hex = Show(ResourcePage::Hex, PageContent::HexDump, type, name);
  if (type.isString) return hex;
  switch (type.id) {
    case kRtCursor:
      return Show(ResourcePage::Bitmap, PageContent::CursorImage, type, name);
    case kRtBitmap:
      return Show(ResourcePage::Bitmap, PageContent::Bitmap, type, name);
    case kRtIcon:
      return Show(ResourcePage::Bitmap, PageContent::IconImage, type, name);
    case kRtMenu:
      return Show(ResourcePage::Menu, PageContent::Menu, type, name);
    case kRtDialog:
      return Show(ResourcePage::Bitmap, PageContent::DialogPicture, type, name);
    case kRtString:
      // A block named by a string has no string identifiers: its bytes.
      return name.isString ? hex : Show(ResourcePage::String, PageContent::StringBlock, type, name);
    case kRtGroupCursor:
      return Show(ResourcePage::IconGroup, PageContent::CursorGroup, type, name);
    case kRtGroupIcon:
      return Show(ResourcePage::IconGroup, PageContent::IconGroup, type, name);
    case kRtVersion:
      return Show(ResourcePage::List, PageContent::Version, type, name);
    default:
      return hex;
  }
}

bool IsStatistics(PageContent content) {
  return content == PageContent::ModuleStatistics || content == PageContent::TypeStatistics ||
         content == PageContent::Version;
}

}  // namespace

PageChoice ChooseResourcePage(const ResourceSelection& selection) {
  switch (selection.kind) {
    case ResourceSelection::Kind::TypeNode:
      return ChooseForType(selection.type);
    case ResourceSelection::Kind::Resource:
      return ChooseForResource(selection.type, selection.name);
    case ResourceSelection::Kind::Nothing:
    case ResourceSelection::Kind::Root:
      break;
  }
  return Show(ResourcePage::List, PageContent::ModuleStatistics);
}

PageChoice ChooseResourcePage(const ResourceSelection& selection, const BuiltPages& built) {
  PageChoice choice = ChooseResourcePage(selection);
  if (!choice.page || built[static_cast<size_t>(*choice.page)]) return choice;
  const bool resource = selection.kind == ResourceSelection::Kind::Resource;
  if (resource && !IsStatistics(choice.content) && built[static_cast<size_t>(ResourcePage::Hex)])
    return Show(ResourcePage::Hex, PageContent::HexDump, selection.type, selection.name);
  return PageChoice{};
}

ResourceBrowserTree BuildResourceBrowserTree(const CResourceModule& module, const IFiles& files,
                                             const IStrings& strings) {
  const auto found = files.FindFile(module.GetPath());
  ResourceBrowserTree tree;
  tree.root = BuildResourceTree(module, found ? found->name : strings.LoadString(IDS_MODULE_ROOT), strings);
  tree.typeNodes.resize(tree.root.children.size());
  tree.resources.resize(tree.root.children.size());
  // The tree places each resource under the node whose text is its type's
  // label, in enumeration order; the same walk tells each item's own type
  // and name. Entries come type by type, so the label is looked up again
  // only when the type changes.
  std::unordered_map<std::string, size_t> nodeOfLabel;
  for (size_t i = tree.root.children.size(); i-- > 0;) nodeOfLabel[tree.root.children[i].text] = i;
  size_t node = SIZE_MAX;
  std::optional<ResourceName> lastType;
  for (const ResourceEntry& entry : module.entries()) {
    const ResourceName type = entry.Type();
    if (!lastType || lastType->isString != type.isString || lastType->id != type.id || lastType->name != type.name) {
      const auto labelled = nodeOfLabel.find(ResourceTypeLabel(type, strings));
      node = labelled == nodeOfLabel.end() ? SIZE_MAX : labelled->second;
      lastType = type;
    }
    if (node == SIZE_MAX) continue;  // cannot happen: the tree made a node for every label
    auto& items = tree.resources[node];
    if (items.empty()) tree.typeNodes[node] = ResourceSelection{ResourceSelection::Kind::TypeNode, type, {}};
    items.push_back(ResourceSelection{ResourceSelection::Kind::Resource, type, entry.Name()});
  }
  return tree;
}

std::string ReplaceFirstInsert(const std::string& text, const std::string& path) {
  std::string out;
  out.reserve(text.size() + path.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const bool insert = text[i] == '%' && i + 1 < text.size() && text[i + 1] == '1' &&
                        (i + 2 >= text.size() || text[i + 2] < '0' || text[i + 2] > '9');
    if (insert) {
      out += path;
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

ResourceBrowserOpening OpenForBrowsing(CResourceModule& module, const std::string& path, const Platform& platform) {
  ResourceBrowserOpening opening;
  // Strings, menus and dialogs in the user's own language where the module
  // holds them.
  if (platform.locale) module.SetUiLanguage(platform.locale->GetUserDefaultUILanguage());
  if (!module.Enumerate(path)) {
    opening.failure = ReplaceFirstInsert(CErrorText(*platform.errors, module.GetLastError()).GetText(), path);
    return opening;
  }
  opening.opened = true;
  if (!module.GetDamage().empty())
    opening.damageWarning = FormatTable(platform.strings->LoadString(IDS_RESOURCES_DAMAGED), {path});
  return opening;
}

}  // namespace qm
