#include "headers/directory_dump.h"

#include <algorithm>

#include "common/text.h"
#include "headers/export_table.h"
#include "headers/import_table.h"
#include "res/string_ids.h"

namespace qm {

namespace {

void AddEntryLines(TreeNode& node, const ImageDataDirectory& entry) {
  node.Add(Format("VirtualAddress = %s", FormatValue(entry.VirtualAddress).c_str()), kDumpLeafImage);
  node.Add(Format("Size = %u bytes", entry.Size), kDumpLeafImage);
}

std::string StampLine(const DumpText& text, uint32_t stamp) {
  return Format("TimeDateStamp = [%s] %s", FormatValue(stamp).c_str(), FormatTimeStamp(text, stamp).c_str());
}

std::string ExportLine(const ExportedFunction& f, const std::string* name) {
  std::string line = Format("%04llu - [%s", static_cast<unsigned long long>(f.ordinal), FormatValue(f.rva).c_str());
  if (f.forwarder) line += ":" + *f.forwarder;
  line += "]";
  if (name) line += " " + *name;
  return line;
}

}  // namespace

bool AddExportDirectory(TreeNode& parent, const CModuleLoader& loader, bool complete, const DumpText& text,
                        std::vector<std::string>& problems) {
  const PeImage* image = loader.GetNtHeaders();
  const ImageDataDirectory* entry = loader.GetDirectoryEntry(IMAGE_DIRECTORY_ENTRY_EXPORT);
  if (!image || !entry) return false;
  TreeNode& node =
      parent.Add(complete ? "Export directory" : text.strings.LoadString(IDS_EXPORTED_FUNCTIONS), kDumpNodeImage);
  if (complete) AddEntryLines(node, *entry);
  if (entry->VirtualAddress == 0) return false;
  auto directory = ReadExportDirectory(*image);
  if (!directory) {
    problems.push_back("export directory: " + DescribeError(directory.error()));
    return false;
  }
  const ExportDirectory& d = *directory;

  TreeNode* functionsParent = &node;
  if (complete) {
    TreeNode& record = node.Add("IMAGE_EXPORT_DIRECTORY", kDumpNodeImage);
    record.Add(Format("Characteristics = %s", FormatValue(d.Characteristics).c_str()), kDumpLeafImage);
    record.Add(StampLine(text, d.TimeDateStamp), kDumpLeafImage);
    record.Add(Format("MajorVersion = 0x%02x", d.MajorVersion), kDumpLeafImage);
    record.Add(Format("MinorVersion = 0x%02x", d.MinorVersion), kDumpLeafImage);
    record.Add("Name = " + (d.Name != 0 && d.name ? *d.name : std::string("?")), kDumpLeafImage);
    record.Add(Format("Base = %s", FormatValue(d.Base).c_str()), kDumpLeafImage);
    record.Add(Format("NumberOfFunctions = %u", d.NumberOfFunctions), kDumpLeafImage);
    record.Add(Format("NumberOfNames = %u", d.NumberOfNames), kDumpLeafImage);
    functionsParent = &record;
  }
  if (d.NumberOfFunctions == 0) return true;
  if (complete) functionsParent = &functionsParent->Add("Functions", kDumpNodeImage);

  std::optional<ParseError> namesError;
  auto functions = ReadExportedFunctions(*image, d, &namesError);
  if (!functions) {
    problems.push_back("export directory: " + DescribeError(functions.error()));
    return true;
  }
  if (namesError) problems.push_back("export names left out: " + DescribeError(*namesError));
  for (const ExportedFunction& f : *functions) {
    // A function exported under several names gets a line for each.
    if (f.names.empty()) functionsParent->Add(ExportLine(f, nullptr), kDumpLeafImage);
    for (const std::string& name : f.names) functionsParent->Add(ExportLine(f, &name), kDumpLeafImage);
  }
  return true;
}

bool AddImportDirectory(TreeNode& parent, const CModuleLoader& loader, bool complete, const DumpText& text,
                        std::vector<std::string>& problems) {
  const PeImage* image = loader.GetNtHeaders();
  const ImageDataDirectory* entry = loader.GetDirectoryEntry(IMAGE_DIRECTORY_ENTRY_IMPORT);
  if (!image || !entry) return false;
  TreeNode& node =
      parent.Add(complete ? "Import directory" : text.strings.LoadString(IDS_IMPORTED_LIBRARIES), kDumpNodeImage);
  if (complete) AddEntryLines(node, *entry);
  if (entry->VirtualAddress == 0) return false;
  // The dump lists libraries only, so their thunks are not read.
  auto table = ReadImportTable(*image, ImportDetail::Libraries);
  if (!table) {
    problems.push_back("import directory: " + DescribeError(table.error()));
    return false;
  }
  // The directory's size bounds how many descriptors are shown.
  const size_t counted = entry->Size / kImportDescriptorSize;
  if (counted == 0) return true;

  // The label is the one this dump has always shown for the descriptors.
  TreeNode& libraries = complete ? node.Add("IMAGE_EXPORT_DIRECTORY", kDumpNodeImage) : node;
  size_t shown = 0;
  for (const ImportedLibrary& lib : table->libraries) {
    // The list shown ends at the first descriptor without name thunks.
    if (shown == counted || lib.OriginalFirstThunk == 0) return true;
    ++shown;
    if (!complete) {
      libraries.Add(lib.name, kDumpLeafImage);
      continue;
    }
    TreeNode& item = libraries.Add(lib.name, kDumpNodeImage);
    item.Add(Format("OriginalFirstThunk = %s", FormatSigned(lib.OriginalFirstThunk).c_str()), kDumpLeafImage);
    item.Add(Format("FirstThunk = %s", FormatSigned(lib.FirstThunk).c_str()), kDumpLeafImage);
    item.Add(Format("ForwarderChain = %s", FormatSigned(lib.ForwarderChain).c_str()), kDumpLeafImage);
    if (static_cast<int32_t>(lib.TimeDateStamp) > 0) {
      item.Add(StampLine(text, lib.TimeDateStamp), kDumpLeafImage);
    } else {
      item.Add(Format("TimeDateStamp = %s", FormatSigned(lib.TimeDateStamp).c_str()), kDumpLeafImage);
    }
  }
  if (shown < counted && table->descriptorsError)
    problems.push_back("import directory: " + DescribeError(*table->descriptorsError));
  return true;
}

}  // namespace qm
