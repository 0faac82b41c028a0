#pragma once
// Modal and modeless dialogs from a template in the resources or from
// template bytes in memory. The dialog object is bound to its window from
// WM_INITDIALOG on (through the creation parameter), decodes messages
// through its class's message table like any CWnd and hands WM_COMMAND and
// WM_NOTIFY of a control to the control's own wrapper first.
//
// Ownership: a modeless dialog is destroyed with its object; a modal one
// ends before DoModal returns.

#include <cstdint>
#include <vector>

#include "framework/wnd.h"

namespace qm {
class IMessageBox;
}

namespace qm::fw {

class CDataExchange;

class CDialog : public WithMessageTable<CDialog, CWnd> {
 public:
  // The class's own messages, answered before the base class's.
  static MessageTable<CDialog> Messages();
  CDialog() = default;
  ~CDialog() override;

  // Runs the dialog modally; IDOK, IDCANCEL (or what EndDialog was given),
  // -1 when the template could not be made into a dialog.
  INT_PTR DoModal(UINT templateId, HWND parent = nullptr);
  INT_PTR DoModalIndirect(const std::vector<uint8_t>& templateBytes, HWND parent = nullptr);
  // Creates the dialog modelessly; false when the template failed.
  bool Create(UINT templateId, HWND parent = nullptr);
  bool CreateIndirect(const std::vector<uint8_t>& templateBytes, HWND parent = nullptr);
  // The same with the instance whose resources (icons, menus, classes) the
  // template's names refer to.
  bool CreateIndirect(const std::vector<uint8_t>& templateBytes, HWND parent, HINSTANCE instance);

  // Ends a modal dialog with this result; destroys a modeless one.
  void EndDialog(INT_PTR result);
  // The result the dialog ended with (0 while it runs).
  INT_PTR Result() const { return result_; }
  bool IsModal() const { return modal_; }

  // Fills the controls from the members (false) or reads them back with
  // validation (true); false when a field was refused.
  bool UpdateData(bool saveAndValidate = true);

  // Enables or greys the dialog's control of that ID.
  void EnableDlgItem(int controlId, bool enabled) const { ::EnableWindow(::GetDlgItem(m_hWnd, controlId), enabled); }

  // Where validation messages go; the platform's message box when unset.
  void SetMessageBox(IMessageBox* messages) { messages_ = messages; }

 protected:
  // Fills the controls; the return value is that of WM_INITDIALOG (TRUE:
  // the system puts the focus on the first tab stop).
  virtual BOOL OnInitDialog();
  // Validates and ends with IDOK; stays open when a field is refused.
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange&) {}

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnInitDialogMessage(WPARAM, LPARAM);
  LRESULT OnOkCommand(WPARAM, LPARAM);
  LRESULT OnCancelCommand(WPARAM, LPARAM);
  // A copy of the template in DWORD-aligned storage, as the system needs;
  // empty when the bytes cannot hold even the header.
  static std::vector<DWORD> AlignedTemplate(const std::vector<uint8_t>& bytes);

  IMessageBox* messages_ = nullptr;
  INT_PTR result_ = 0;
  bool modal_ = false;
};

}  // namespace qm::fw
