#pragma once
// Reading a header dump's tree in the tests: the lines under a node, a node
// found by its text, and the node/leaf images checked throughout.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headers/header_dump.h"

namespace qm::test {

inline std::vector<std::string> Lines(const TreeNode& node) {
  std::vector<std::string> out;
  for (const auto& child : node.children) out.push_back(child.text);
  return out;
}

inline const TreeNode* Find(const TreeNode& node, const std::string& text) {
  if (node.text == text) return &node;
  for (const auto& child : node.children)
    if (const TreeNode* found = Find(child, text)) return found;
  return nullptr;
}

inline const TreeNode* FindPrefix(const TreeNode& node, const std::string& prefix) {
  if (node.text.rfind(prefix, 0) == 0) return &node;
  for (const auto& child : node.children)
    if (const TreeNode* found = FindPrefix(child, prefix)) return found;
  return nullptr;
}

// Items with children are nodes; leaves never have children.
inline void CheckImages(const TreeNode& node) {
  EXPECT_TRUE(node.image == kDumpNodeImage || node.image == kDumpLeafImage) << node.text;
  EXPECT_FALSE(node.image == kDumpLeafImage && !node.children.empty()) << node.text;
  for (const auto& child : node.children) CheckImages(child);
}

}  // namespace qm::test
