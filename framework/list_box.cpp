#include "framework/list_box.h"

#include "platform/win32/win32_system.h"

namespace qm::fw {

int CListBox::AddString(const std::string& text) {
  const std::wstring wide = Widen(text);
  return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int CListBox::InsertString(int index, const std::string& text) {
  const std::wstring wide = Widen(text);
  return static_cast<int>(
      SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str())));
}

int CListBox::DeleteString(int index) {
  return static_cast<int>(SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index)));
}

void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }

int CListBox::GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }

std::string CListBox::GetText(int index) const {
  const LRESULT length = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length == LB_ERR || length < 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (copied == LB_ERR || copied < 0) return {};
  buffer.resize(static_cast<size_t>(copied) < buffer.size() ? static_cast<size_t>(copied) : 0);
  return Narrow(buffer);
}

LPARAM CListBox::GetItemData(int index) const {
  const LRESULT data = SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index));
  return data == LB_ERR ? 0 : data;
}

bool CListBox::SetItemData(int index, LPARAM data) {
  return SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), data) != LB_ERR;
}

int CListBox::GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }

bool CListBox::SetCurSel(int index) {
  // -1 clears the selection and reports LB_ERR although it succeeded.
  return SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index)) != LB_ERR || index == -1;
}

int CListBox::FindStringExact(const std::string& text, int after) const {
  const std::wstring wide = Widen(text);
  return static_cast<int>(
      SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(wide.c_str())));
}

}  // namespace qm::fw
