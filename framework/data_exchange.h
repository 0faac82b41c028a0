#pragma once
// Moves values between a dialog's members and its controls. One exchange
// runs in one direction: filling the controls, or reading them back with
// validation. The first refused field stops the exchange: its message is
// shown, the focus goes back to that field and the later fields are left
// alone, so the dialog can stay open with the members untouched past it.

#include <cstdint>
#include <string>

#include "platform/win32/win.h"

namespace qm {
class IMessageBox;
}

namespace qm::fw {

// The string a refused whole-number field shows: the program's, given once
// before its first dialog.
void SetNotWholeNumberMessage(uint32_t stringId);

class CDataExchange {
 public:
  // messages null: the platform's message box.
  CDataExchange(HWND dialog, bool saveAndValidate, IMessageBox* messages = nullptr);

  const bool m_bSaveAndValidate;
  HWND m_hDlg;

  bool Failed() const { return failed_; }
  // The control of that ID; null (and the exchange failed) when the dialog
  // has none, which is a fault of the dialog, not of the user's input.
  HWND Control(int controlId);
  // Refuses the field: shows the string of messageId, puts the focus (and
  // for an edit the selection) on the control.
  void Fail(int controlId, uint32_t messageId);

 private:
  IMessageBox* messages_;
  bool failed_ = false;
};

// Text of any control, in UTF-8.
void DDX_Text(CDataExchange& exchange, int controlId, std::string& value);
// Whole numbers in decimal, with optional sign for the signed ones and
// surrounding spaces; anything else, or a value out of the type's range,
// is refused with "Introduzca un número entero.".
void DDX_Text(CDataExchange& exchange, int controlId, int& value);
void DDX_Text(CDataExchange& exchange, int controlId, unsigned& value);
void DDX_Text(CDataExchange& exchange, int controlId, long long& value);
void DDX_Text(CDataExchange& exchange, int controlId, unsigned long long& value);
// A check box: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange& exchange, int controlId, int& state);
void DDX_Check(CDataExchange& exchange, int controlId, bool& checked);

}  // namespace qm::fw
