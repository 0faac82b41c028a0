#include "common/tree_model.h"

#include <ostream>

#include "common/text.h"

namespace qm {

namespace {
void PrintLevel(std::ostream& out, const TreeNode& node, size_t depth) {
  out << std::string(2 * depth, ' ') << node.text << '\n';
  for (const auto& child : node.children) PrintLevel(out, child, depth + 1);
}

void PrintJson(std::ostream& out, const TreeNode& node) {
  out << "{\"text\": " << JsonString(node.text) << ", \"image\": " << node.image;
  for (const auto& [name, value] : node.json) out << ", " << JsonString(name) << ": " << value;
  out << ", \"children\": [";
  for (size_t i = 0; i < node.children.size(); ++i) {
    if (i) out << ", ";
    PrintJson(out, node.children[i]);
  }
  out << "]}";
}
}  // namespace

void PrintTree(std::ostream& out, const TreeNode& root) { PrintLevel(out, root, 0); }

void PrintTreeJson(std::ostream& out, const TreeNode& root) { PrintJson(out, root); }

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20) {
          out += Format("\\u%04x", u);
        } else {
          out.push_back(c);
        }
    }
  }
  return out + "\"";
}

}  // namespace qm
