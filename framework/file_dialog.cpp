#include "framework/file_dialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cwchar>
#include <memory>

#include "platform/win32/win32_system.h"

namespace qm::fw {

namespace {

struct PidlFree {
  void operator()(LPITEMIDLIST pidl) const { ::CoTaskMemFree(pidl); }
};

}  // namespace

std::optional<std::string> AskFileName(HWND owner, const FileDialogRequest& request) {
  // The dialog wants the filter's parts between null characters, and two
  // at the end.
  std::wstring filter = Widen(request.filter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.append(2, L'\0');
  std::wstring name = Widen(request.defaultName);
  name.resize(MAX_PATH * 4, L'\0');
  const std::wstring extension = Widen(request.defaultExtension);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = request.flags;
  if (!(request.save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn))) return std::nullopt;
  name.resize(std::wcslen(name.c_str()));
  if (name.empty()) return std::nullopt;
  return Narrow(name);
}

std::optional<std::string> AskExportFileName(HWND owner, std::string filter, std::string defaultName,
                                             std::string defaultExtension) {
  FileDialogRequest request;
  request.save = true;
  request.filter = std::move(filter);
  request.defaultName = std::move(defaultName);
  request.defaultExtension = std::move(defaultExtension);
  request.flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  return AskFileName(owner, request);
}

std::optional<std::string> AskFolder(HWND owner, const std::string& title) {
  const std::wstring wideTitle = Widen(title);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = wideTitle.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  const std::unique_ptr<ITEMIDLIST, PidlFree> chosen(::SHBrowseForFolderW(&browse));
  if (!chosen) return std::nullopt;
  // The path may be longer than MAX_PATH in a deep folder: the call writes
  // at most MAX_PATH characters into the buffer it is given.
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.get(), path) || !path[0]) return std::nullopt;
  return Narrow(path);
}

}  // namespace qm::fw
