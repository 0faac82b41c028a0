#include "framework/data_exchange.h"

#include <charconv>
#include <type_traits>

#include "framework/control_text.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"

namespace qm::fw {
namespace {

uint32_t g_notWholeNumberMessage = 0;

// Parses the whole text as one decimal number of type T; a plus or minus
// sign only where T is signed, and no value outside T's range.
template <class T>
bool ParseWholeNumber(const std::string& text, T& value) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return false;
  const size_t end = text.find_last_not_of(" \t") + 1;
  if (text[begin] == '+') {
    ++begin;
    if (begin < end && (text[begin] == '-' || text[begin] == '+')) return false;
  }
  if constexpr (std::is_unsigned_v<T>) {
    if (begin < end && text[begin] == '-') return false;
  }
  T parsed{};
  const char* first = text.data() + begin;
  const char* last = text.data() + end;
  const auto [stop, error] = std::from_chars(first, last, parsed);
  if (error != std::errc() || stop != last || first == last) return false;
  value = parsed;
  return true;
}

template <class T>
void ExchangeWholeNumber(CDataExchange& exchange, int controlId, T& value) {
  if (exchange.Failed()) return;
  HWND control = exchange.Control(controlId);
  if (!control) return;
  if (!exchange.m_bSaveAndValidate) {
    ::SetWindowTextW(control, Widen(std::to_string(value)).c_str());
    return;
  }
  T parsed{};
  if (!ParseWholeNumber(ControlText(control), parsed)) {
    exchange.Fail(controlId, g_notWholeNumberMessage);
    return;
  }
  value = parsed;
}

}  // namespace

void SetNotWholeNumberMessage(uint32_t stringId) { g_notWholeNumberMessage = stringId; }

CDataExchange::CDataExchange(HWND dialog, bool saveAndValidate, IMessageBox* messages)
    : m_bSaveAndValidate(saveAndValidate), m_hDlg(dialog), messages_(messages) {}

HWND CDataExchange::Control(int controlId) {
  HWND control = ::GetDlgItem(m_hDlg, controlId);
  if (!control) failed_ = true;
  return control;
}

void CDataExchange::Fail(int controlId, uint32_t messageId) {
  failed_ = true;
  const Platform& platform = SystemPlatform();
  IMessageBox* messages = messages_ ? messages_ : platform.messageBox;
  if (messages) messages->MessageBox(platform.strings->LoadString(messageId), MB_OK | MB_ICONEXCLAMATION);
  HWND control = ::GetDlgItem(m_hDlg, controlId);
  if (!control) return;
  ::SetFocus(control);
  // The whole wrong text selected, so typing replaces it.
  ::SendMessageW(control, EM_SETSEL, 0, -1);
}

void DDX_Text(CDataExchange& exchange, int controlId, std::string& value) {
  if (exchange.Failed()) return;
  HWND control = exchange.Control(controlId);
  if (!control) return;
  if (exchange.m_bSaveAndValidate) {
    value = ControlText(control);
  } else {
    ::SetWindowTextW(control, Widen(value).c_str());
  }
}

void DDX_Text(CDataExchange& exchange, int controlId, int& value) { ExchangeWholeNumber(exchange, controlId, value); }
void DDX_Text(CDataExchange& exchange, int controlId, unsigned& value) {
  ExchangeWholeNumber(exchange, controlId, value);
}
void DDX_Text(CDataExchange& exchange, int controlId, long long& value) {
  ExchangeWholeNumber(exchange, controlId, value);
}
void DDX_Text(CDataExchange& exchange, int controlId, unsigned long long& value) {
  ExchangeWholeNumber(exchange, controlId, value);
}

void DDX_Check(CDataExchange& exchange, int controlId, int& state) {
  if (exchange.Failed()) return;
  HWND control = exchange.Control(controlId);
  if (!control) return;
  if (exchange.m_bSaveAndValidate) {
    state = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(state), 0);
  }
}

void DDX_Check(CDataExchange& exchange, int controlId, bool& checked) {
  int state = checked ? BST_CHECKED : BST_UNCHECKED;
  DDX_Check(exchange, controlId, state);
  if (exchange.m_bSaveAndValidate && !exchange.Failed()) checked = state == BST_CHECKED;
}

}  // namespace qm::fw
