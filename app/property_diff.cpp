#include "app/property_diff.h"

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
  group(4135, kGroupVisibility);
  child(kImageProperty, {kPropIsWindow, kPropEnabled, kPropVisible, kPropIconic, kPropZoomed});
  group(4136, kGroupPosition);
  child(kImageProperty, {kPropWindowRect, kPropClientRect});
  group(4137, kGroupOther);
  child(kImageProperty, {kPropStyle, kPropExStyle, kPropMenu});
  child(kImagePropertyInfo, {kPropWndProc, kPropInstance, kPropId});
  group(4138, kGroupOther);
  child(kImagePropertyInfo,
        {kPropClassName, kPropClassCursor, kPropClassBackground, kPropClassMenuName, kPropClassWndProc});
  child(kImageProperty, {kPropClassStyle, kPropClassIcon, kPropClassSmallIcon});
  group(4139, kGroupOther);
  child(kImageProperty, {kPropOwner, kPropParent, kPropNext, kPropPrevious});
  group(4140, kGroupOther);
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
