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

}  // namespace qm::fw
