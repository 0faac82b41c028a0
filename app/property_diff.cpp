#include "app/property_diff.h"

#include "res/string_ids.h"

namespace qm {
namespace {

std::vector<PropertyTreeNode> BuildLayout() {
  std::vector<PropertyTreeNode> nodes;
  auto root = [&](int property) { nodes.push_back({false, 0, kImageProperty, property}); };
  auto group = [&](uint32_t stringId, int32_t data) { nodes.push_back({false, stringId, kImageGroup, data}); };
  auto child = [&](int image, std::initializer_list<int> properties) {
    for (int property : properties) nodes.push_back({true, 0, image, property});
  };
  root(kPropHandle);
  root(kPropTitle);
  group(IDS_GROUP_VISIBILITY, kGroupVisibility);
  child(kImageProperty, {kPropIsWindow, kPropEnabled, kPropVisible, kPropIconic, kPropZoomed});
  group(IDS_GROUP_POSITION, kGroupPosition);
  child(kImageProperty, {kPropWindowRect, kPropClientRect});
  group(IDS_GROUP_ADVANCED, kGroupOther);
  child(kImageProperty, {kPropStyle, kPropExStyle, kPropMenu});
  child(kImagePropertyInfo, {kPropWndProc, kPropInstance, kPropId});
  group(IDS_GROUP_CLASS_DATA, kGroupOther);
  child(kImagePropertyInfo,
        {kPropClassName, kPropClassCursor, kPropClassBackground, kPropClassMenuName, kPropClassWndProc});
  child(kImageProperty, {kPropClassStyle, kPropClassIcon, kPropClassSmallIcon});
  group(IDS_GROUP_RELATED_WINDOWS, kGroupOther);
  child(kImageProperty, {kPropOwner, kPropParent, kPropNext, kPropPrevious});
  group(IDS_GROUP_PROCESS_DATA, kGroupOther);
  child(kImageProperty, {kPropExePath, kPropProcessId});
  return nodes;
}

}  // namespace

const std::vector<PropertyTreeNode>& PropertyTreeLayout() {
  static const std::vector<PropertyTreeNode> layout = BuildLayout();
  return layout;
}

std::string PropertyLine(const WindowProperty& property) { return property.name + ": " + property.value; }

std::vector<int> ChangedPropertyLines(const std::array<WindowProperty, kPropertyCount>& properties,
                                      const std::array<std::string, kPropertyCount>& shown) {
  std::vector<int> changed;
  for (int i = 0; i < kPropertyCount; ++i) {
    const size_t at = static_cast<size_t>(i);
    if (PropertyLine(properties[at]) != shown[at]) changed.push_back(i);
  }
  return changed;
}

}  // namespace qm
