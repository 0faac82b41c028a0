#pragma once
// The property tree's fixed layout and the comparison that lets a refresh
// rewrite only the lines whose text changed (so expansion, selection and
// scroll position survive the once-a-second refresh).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/quillmar_doc.h"
#include "common/shared_icons.h"

namespace qm {

// Item data of the group lines and images of the shared image list.
constexpr int32_t kGroupVisibility = -1;
constexpr int32_t kGroupPosition = -2;
constexpr int32_t kGroupOther = -3;
constexpr int kImagePropertyInfo = kIconInfo;
constexpr int kImageProperty = kIconDoubleArrow;
constexpr int kImageGroup = kIconPlus;
constexpr int kImageNoCapture = kIconWarning;

// One line of the layout: a root or child line, either a group (its title
// string) or a property (its index; the text comes from the document).
struct PropertyTreeNode {
  bool child = false;
  uint32_t groupStringId = 0;  // 0 for a property line
  int image = 0;
  int32_t data = 0;  // the property index, or the group's data
};

// Top to bottom, as the tree shows it.
const std::vector<PropertyTreeNode>& PropertyTreeLayout();

// "%s: %s" of the label and the value.
std::string PropertyLine(const WindowProperty& property);

// The property indexes whose line differs (byte for byte) from the text the
// tree shows for it now.
std::vector<int> ChangedPropertyLines(const std::array<WindowProperty, kPropertyCount>& properties,
                                      const std::array<std::string, kPropertyCount>& shown);

}  // namespace qm
