#include "resources/ui/template_dialog.h"

#include <string>

#include "platform/win32/win32_system.h"
#include "resources/dialog_creation.h"
#include "resources/resource_types.h"

namespace qm {
namespace {

bool IsOwnClass(std::string_view className) { return fw::IsFrameworkClass(Widen(std::string(className))); }

// The menu a template names is loaded by the platform from the module's
// bytes, which it trusts as it trusts the template: it must read whole too.
bool MenuIsReadable(const CResourceModule& module, const DialogTemplate& dialog) {
  if (dialog.menu.isNone()) return true;
  const ResourceName menu =
      dialog.menu.isOrdinal() ? ResourceName::Number(dialog.menu.ordinal) : ResourceName::String(dialog.menu.text);
  return module.LoadMenu(menu).ok();
}

}  // namespace

CTemplateDialog::~CTemplateDialog() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  if (dataModule_) ::FreeLibrary(dataModule_);
}

void CTemplateDialog::EndInHost(UINT command) {
  HWND host = ::GetParent(m_hWnd);
  if (host && (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_CHILD)) {
    ::PostMessageW(host, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
  } else {
    EndDialog(command);
  }
}

void CTemplateDialog::OnOK() { EndInHost(IDOK); }
void CTemplateDialog::OnCancel() { EndInHost(IDCANCEL); }

bool CreateDialogFromTemplate(const CResourceModule& module, const ResourceName& name,
                              std::unique_ptr<CTemplateDialog>& slot, HWND parent) {
  slot.reset();
  auto data = module.LoadResourceData(ResourceName::Number(kRtDialog), name);
  if (!data) return false;
  auto dialog = CheckTemplateForCreation(*data, IsOwnClass);
  if (!dialog || !MenuIsReadable(module, *dialog)) return false;
  const std::vector<uint8_t> bytes = PaddedTemplateCopy(*data);

  auto created = std::make_unique<CTemplateDialog>();
  created->dataModule_ = ::LoadLibraryExW(Widen(module.GetPath()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (created->dataModule_ && created->CreateIndirect(bytes, parent, created->dataModule_)) {
    slot = std::move(created);
    return true;
  }
  // The platform refused it with the module's resources: try once more with
  // this program's own, as a plain dialog.
  created = std::make_unique<CTemplateDialog>();
  if (!created->CreateIndirect(bytes, parent)) return false;
  slot = std::move(created);
  return true;
}

}  // namespace qm
