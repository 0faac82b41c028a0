#pragma once
// Every resource of a module as one resource script and the data files it
// names, so that a resource compiler rebuilds the same resources: icon and
// cursor groups as .ico/.cur files, bitmaps as .bmp files, string tables,
// accelerators and version blocks as statements, every other type as its
// raw bytes. Each language of each name gets its own LANGUAGE statement.
// Where a statement cannot say exactly what the module holds, the resource
// is written raw under its numeric type and listed with the reason; what
// cannot be read at all is left out and listed as damaged.

#include <cstdint>
#include <string>
#include <vector>

#include "resources/resource_directory.h"

namespace qm {

// A data file the script names, by its path under the script's folder
// ("res/icon_1_0409.ico", always with "/").
struct ExtractedFile {
  std::string path;
  std::vector<uint8_t> bytes;
};

// One resource in one language and why it is listed.
struct ExtractNote {
  std::string resource;  // "RT_MENU/#3 (0x0409)"
  std::string reason;
};

struct ModuleExtract {
  std::string script;  // "\n" line ends
  std::vector<ExtractedFile> files;
  size_t statements = 0;                  // written as script statements
  size_t dataFiles = 0;                   // written as a data file in their own form (.ico, .cur, .bmp, raw types)
  std::vector<ExtractNote> rawFallbacks;  // written raw where a statement or file form exists
  std::vector<ExtractNote> damaged;       // left out
};

// "RT_ICON/#3 (0x0409)": the type's RT_ name where it has one.
std::string DescribeExtractResource(const ResourceName& type, const ResourceName& name, uint16_t language);

// moduleName is the module's file name, for the script's first comment.
ModuleExtract ExtractModuleResources(const PeImage& image, const ResourceDirectory& resources,
                                     const std::string& moduleName);

}  // namespace qm
