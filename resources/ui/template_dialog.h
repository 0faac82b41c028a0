#pragma once
// A dialog made live from another module's RT_DIALOG template, for the test
// window and for the picture of a dialog. The template goes to the platform
// as the module stores it (from a zero-padded copy), and only after the
// decoder has read it whole and found none of our own window classes in it.

#include <memory>

#include "framework/dialog.h"
#include "resources/resource_module.h"

namespace qm {

class CTemplateDialog : public fw::CDialog {
 public:
  CTemplateDialog() = default;
  ~CTemplateDialog() override;
  CTemplateDialog(const CTemplateDialog&) = delete;
  CTemplateDialog& operator=(const CTemplateDialog&) = delete;

 protected:
  // Inside a host window the dialog's own OK and Cancel end the host; alone
  // they close the dialog.
  void OnOK() override;
  void OnCancel() override;

 private:
  friend bool CreateDialogFromTemplate(const CResourceModule&, const ResourceName&, std::unique_ptr<CTemplateDialog>&,
                                       HWND);
  void EndInHost(UINT command);

  // The module mapped as data while the dialog lives: the template's icons
  // and menu are read from it. Freed after the window is gone.
  HMODULE dataModule_ = nullptr;
};

// Creates the dialog `name` of `module` modelessly under parent (or none)
// into slot. First with the module's own resources, then, when the platform
// refuses that, with this program's. False, with slot empty, when the
// resource is missing, the template is unreadable or refused, or neither
// creation succeeds.
bool CreateDialogFromTemplate(const CResourceModule& module, const ResourceName& name,
                              std::unique_ptr<CTemplateDialog>& slot, HWND parent);

}  // namespace qm
