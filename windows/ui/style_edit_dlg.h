#pragma once
// The style editor and its list of names that can still be added. Both only
// mirror a StyleEditModel into their controls; the frame applies the word.

#include <cstdint>

#include "framework/dialog.h"
#include "framework/list_box.h"
#include "res/resource_ids.h"
#include "windows/style_edit_model.h"

namespace qm {

class CStyleEditDlg : public fw::WithMessageTable<CStyleEditDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CStyleEditDlg> Messages();
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_STYLE_EDIT, parent); }

  // Sets the word and its dictionary; refreshes the controls when the
  // dialog is open.
  void SetStyle(uint32_t style, StyleKind kind);
  // The edited word: the dialog's result after IDOK.
  uint32_t Style() const { return model_.Style(); }
  StyleKind Kind() const { return model_.Kind(); }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  void Refresh();
  // The edit's text becomes the word, normalised in the edit.
  void TakeTypedWord();
  LRESULT OnHexKillFocus(WPARAM, LPARAM);
  LRESULT OnAdd(WPARAM, LPARAM);
  LRESULT OnDelete(WPARAM, LPARAM);

  StyleEditModel model_;
  fw::CListBox styleList_;  // the breakdown of the word
};

class CStyleListDlg : public fw::WithMessageTable<CStyleListDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CStyleListDlg> Messages();
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_STYLE_LIST, parent); }

  uint32_t m_style = 0;  // in: the current word; out: the chosen name's value, 0 for none
  StyleKind m_kind = kWindowStyles;
  // Screen position of the top-left corner; 0, 0 keeps the template's.
  int m_x = 0;
  int m_y = 0;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  LRESULT OnDoubleClick(WPARAM, LPARAM);

  fw::CListBox styleList_;  // the names that can still be added
};

}  // namespace qm
