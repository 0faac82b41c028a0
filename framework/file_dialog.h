#pragma once
// The system's Open and Save As dialogs, with filters written as the string
// table writes them ("Name (*.x)|*.x|All (*.*)|*.*||").

#include <optional>
#include <string>

#include "platform/win32/win.h"

namespace qm::fw {

struct FileDialogRequest {
  bool save = false;
  std::string filter;            // parts between '|'
  std::string defaultName;       // empty: none
  std::string defaultExtension;  // without the dot; empty: none
  DWORD flags = 0;               // OFN_*
};

// The chosen file's full path; nullopt when the user cancels.
std::optional<std::string> AskFileName(HWND owner, const FileDialogRequest& request);

// Save As for an export: an existing file is replaced only after the user
// says so, the current folder stays, and the folder must exist.
std::optional<std::string> AskExportFileName(HWND owner, std::string filter, std::string defaultName,
                                             std::string defaultExtension);

// The system's folder chooser; the chosen folder's full path, nullopt when
// the user cancels or picks something that is not a file-system folder.
std::optional<std::string> AskFolder(HWND owner, const std::string& title);

}  // namespace qm::fw
