#pragma once
// A tree of text lines with an image index per node: the model behind the
// header dump and the resource browser. Dialogs copy it into a tree view;
// quillmar-cli prints it indented or as JSON.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace qm {

struct TreeNode {
  std::string text;
  int image = 0;
  std::vector<TreeNode> children;
  // Extra JSON members of this node, name → JSON value text (already encoded,
  // e.g. "12" or "\"PNG\"").
  std::vector<std::pair<std::string, std::string>> json;

  TreeNode& Add(std::string childText, int childImage) {
    children.push_back(TreeNode{std::move(childText), childImage, {}, {}});
    return children.back();
  }
};

// One line per node, two spaces of indent per level, root at column 0.
void PrintTree(std::ostream& out, const TreeNode& root);
// {"text": ..., "image": N, <extra members>, "children": [...]}
void PrintTreeJson(std::ostream& out, const TreeNode& root);
// A JSON string literal of UTF-8 text; bytes that are not UTF-8 become
// U+FFFD.
std::string JsonString(const std::string& text);
// A handle as a JSON string: "0x%08X", "0x0" for none.
std::string JsonHandle(uint64_t value);

}  // namespace qm
