#pragma once
// Where a module's extracted resources go and how they get there: the module
// FILE extracted into DIR goes to DIR/FILE/ (the file name with its
// extension, so that two modules that differ only in extension do not
// collide), its script as NAME.rc (NAME: the file name without extension)
// and the data files under res/. The files are written one at a time, each
// through the atomic writer, so a caller can show progress and stop between
// two files; a failed file leaves whatever was at its place untouched.

#include <cstddef>
#include <string>
#include <vector>

#include "resources/module_extract.h"

namespace qm {

struct ExtractLayout {
  std::string folder;      // DIR/FILE, UTF-8
  std::string scriptName;  // NAME.rc
  std::string scriptPath;  // DIR/FILE/NAME.rc
};

// modulePath may use "\" or "/"; outputDir is UTF-8.
ExtractLayout PlanExtractFolder(const std::string& outputDir, const std::string& modulePath);

// Whether the extract holds anything to write: a script without a resource
// is one the compiler refuses.
bool ExtractHasResources(const ModuleExtract& extract);

class ExtractFolderWriter {
 public:
  // Keeps a reference to extract, which must outlive the writer.
  ExtractFolderWriter(ExtractLayout layout, const ModuleExtract& extract);

  const ExtractLayout& Layout() const { return layout_; }
  // The files to write, the script first.
  size_t Count() const { return 1 + extract_.files.size(); }
  size_t Written() const { return next_; }
  bool Done() const { return next_ == Count(); }
  // The path of file index (UTF-8, "/" between the folder and the file).
  std::string PathOf(size_t index) const;
  // The files of this extraction that are already there (of any kind).
  std::vector<std::string> ExistingPaths() const;

  // Makes the folder and its res/ folder; false when they cannot be made.
  bool MakeFolders() const;
  // Writes the next file; false when it could not be written (it stays the
  // next one, and what was at its place is left as it was).
  bool WriteNext();

 private:
  ExtractLayout layout_;
  const ModuleExtract& extract_;
  std::string script_;  // the script with CR LF line ends
  size_t next_ = 0;
};

}  // namespace qm
