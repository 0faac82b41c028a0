// Any bytes through the loader, both header dumps, the export functions and
// the imports with their thunks: no crash, no read outside the input.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "headers/export_table.h"
#include "headers/header_dump.h"
#include "headers/import_table.h"
#include "headers/module_loader.h"
#include "res/string_table.h"

namespace {

class FuzzFiles : public qm::IFiles {
 public:
  std::vector<uint8_t> bytes;
  qm::Result<std::vector<uint8_t>> ReadFile(const std::string&, uint64_t) const override { return bytes; }
  std::string GetModuleFileName() const override { return {}; }
  uint32_t GetLastError() const override { return 0; }
};

class FuzzStrings : public qm::IStrings {
 public:
  std::string LoadString(uint32_t id) const override {
    const char* text = qm::FindBuiltinString(id);
    return text ? text : "";
  }
};

class FuzzLocale : public qm::ILocale {
 public:
  std::string VerLanguageName(uint32_t) const override { return {}; }
  std::optional<std::string> FileTimeToText(uint64_t fileTime) const override { return std::to_string(fileTime); }
  std::optional<qm::CalendarTime> FileTimeToLocalTime(uint64_t) const override { return std::nullopt; }
  std::optional<std::string> DateToText(const qm::CalendarTime&) const override { return std::nullopt; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFiles files;
  files.bytes.assign(data, data + size);
  FuzzStrings strings;
  FuzzLocale locale;
  const qm::DumpText text{strings, locale};
  qm::CModuleLoader loader(files);
  if (!loader.Load("fuzz.dll")) return 0;
  (void)qm::BuildHeaderDump(loader, true, text);
  (void)qm::BuildHeaderDump(loader, false, text);
  if (const qm::PeImage* pe = loader.GetNtHeaders()) {
    if (auto directory = qm::ReadExportDirectory(*pe)) (void)qm::ReadExportedFunctions(*pe, *directory);
    (void)qm::ReadImportTable(*pe);
  }
  return 0;
}
