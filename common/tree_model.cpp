#include "common/tree_model.h"

#include <ostream>
#include <string_view>

#include "common/text.h"

namespace qm {

namespace {
// The length of the well-formed UTF-8 sequence at the start of text, or 0:
// overlong forms, encoded surrogates and values past U+10FFFF are not
// well-formed, and JSON readers refuse them.
size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  return length;
}

// A surrogate code point written as UTF-8 (three bytes ED A0..BF 80..BF, as
// a lone surrogate of UTF-16 comes out of a loose conversion).
bool IsEncodedSurrogate(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  return text.size() >= 3 && byte(0) == 0xED && byte(1) >= 0xA0 && byte(1) <= 0xBF && (byte(2) & 0xC0) == 0x80;
}

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
  for (size_t at = 0; at < text.size();) {
    const char c = text[at];
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) {
      // Bytes that are not UTF-8 become U+FFFD, one for each byte (one for a
      // whole encoded surrogate), so the output always parses.
      const std::string_view rest = std::string_view(text).substr(at);
      const size_t length = Utf8SequenceLength(rest);
      if (length == 0) {
        out += "\xEF\xBF\xBD";
        at += IsEncodedSurrogate(rest) ? 3 : 1;
      } else {
        out.append(text, at, length);
        at += length;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20) {
          out += Format("\\u%04x", u);
        } else {
          out.push_back(c);
        }
    }
    ++at;
  }
  return out + "\"";
}

std::string JsonHandle(uint64_t value) {
  return value == 0 ? "\"0x0\"" : Format("\"0x%08llX\"", static_cast<unsigned long long>(value));
}

}  // namespace qm
