#pragma once
// Whole files read back for comparison, and the little-endian writers the
// tests build images, templates and bitmaps with byte by byte.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qm::test {

// Empty when the file cannot be opened: a test then fails on the contents.
inline std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writers grow the buffer when `at` lies past its end.
inline void PutLittleEndian(std::vector<uint8_t>& b, size_t at, uint64_t v, size_t width) {
  if (b.size() < at + width) b.resize(at + width);
  for (size_t i = 0; i < width; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) { PutLittleEndian(b, at, v, 2); }
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { PutLittleEndian(b, at, v, 4); }
inline void Put64(std::vector<uint8_t>& b, size_t at, uint64_t v) { PutLittleEndian(b, at, v, 8); }
inline void Append16(std::vector<uint8_t>& b, uint32_t v) { Put16(b, b.size(), v); }
inline void Append32(std::vector<uint8_t>& b, uint32_t v) { Put32(b, b.size(), v); }
inline void Append64(std::vector<uint8_t>& b, uint64_t v) { Put64(b, b.size(), v); }
// UTF-16 code units of ASCII text, for names and templates.
inline void AppendAscii16(std::vector<uint8_t>& b, const std::string& text) {
  for (char c : text) Append16(b, static_cast<uint8_t>(c));
}

}  // namespace qm::test
