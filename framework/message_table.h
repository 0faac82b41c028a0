#pragma once
// Per-class message tables: a short array next to each window class maps a
// message (with, for WM_COMMAND and WM_NOTIFY, its notification code and
// control ID) to a member handler. A class looks in its own table and then
// chains to its base class, so reading one table tells what a window does.

#include <cstddef>
#include <optional>
#include <span>
#include <type_traits>

#include "platform/win32/win.h"

namespace qm::fw {

// A parent hands WM_COMMAND and WM_NOTIFY of a control to the control's own
// wrapper first, as this message number plus the original one.
constexpr UINT kReflectBase = 0xBC00;
constexpr UINT Reflected(UINT message) { return kReflectBase + message; }

// Matches any notification code or any control ID in a table entry.
constexpr UINT kAny = 0xFFFFFFFFu;

template <class T>
struct MessageEntry {
  UINT message;
  UINT code;  // HIWORD(wParam) of WM_COMMAND, NMHDR::code of WM_NOTIFY
  UINT id;    // LOWORD(wParam) of WM_COMMAND, NMHDR::idFrom of WM_NOTIFY
  LRESULT (T::*handler)(WPARAM, LPARAM);
  // Set instead of handler by the typed entries: decodes what the message
  // carries and calls the member that takes it; false when there was
  // nothing to decode (the message is then not handled).
  bool (*typed)(T&, WPARAM, LPARAM, LRESULT&) = nullptr;
};

template <class T>
using MessageTable = std::span<const MessageEntry<T>>;

template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {message, kAny, kAny, handler};
}

// WM_COMMAND of one command or control ID, any notification code.
template <class T>
constexpr MessageEntry<T> OnCommand(UINT id, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {WM_COMMAND, kAny, id, handler};
}

// WM_COMMAND with one notification code of one control (EN_KILLFOCUS...).
template <class T>
constexpr MessageEntry<T> OnControl(UINT code, UINT id, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {WM_COMMAND, code, id, handler};
}

// Typed handlers: a member taking the notification's own structure
// (NMHDR, NMLISTVIEW, NMTREEVIEWW, NMCUSTOMDRAW, NMTTDISPINFOW...) or, for
// owner-draw and colour messages, what the message carries, so no handler
// casts lParam itself.
template <class M>
struct TypedHandler;
template <class T, class N>
struct TypedHandler<LRESULT (T::*)(N&)> {
  using Class = T;
  using Argument = N;
};

// The class of any member function.
template <class M>
struct MemberClass;
template <class T, class R, class... A>
struct MemberClass<R (T::*)(A...)> {
  using Class = T;
};

template <auto Handler>
bool CallWithStructure(typename TypedHandler<decltype(Handler)>::Class& self, WPARAM, LPARAM lParam, LRESULT& result) {
  using N = typename TypedHandler<decltype(Handler)>::Argument;
  if (lParam == 0) return false;  // no structure to decode
  result = (self.*Handler)(*reinterpret_cast<N*>(lParam));
  return true;
}

// WM_NOTIFY with the notification's structure.
template <auto Handler>
constexpr auto OnNotify(UINT code, UINT id) {
  using T = typename TypedHandler<decltype(Handler)>::Class;
  return MessageEntry<T>{WM_NOTIFY, code, id, nullptr, &CallWithStructure<Handler>};
}

// A notification of this control handled by its own class, typed.
template <auto Handler>
constexpr auto OnReflectedNotify(UINT code) {
  using T = typename TypedHandler<decltype(Handler)>::Class;
  return MessageEntry<T>{Reflected(WM_NOTIFY), code, kAny, nullptr, &CallWithStructure<Handler>};
}

// A message whose lParam points to a structure (WM_DRAWITEM,
// WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM), typed; reflected or not.
template <auto Handler>
constexpr auto OnStructure(UINT message) {
  using T = typename TypedHandler<decltype(Handler)>::Class;
  return MessageEntry<T>{message, kAny, kAny, nullptr, &CallWithStructure<Handler>};
}

// WM_SIZE as the kind of change (SIZE_MINIMIZED...) and the new client
// size: void OnSize(UINT kind, SIZE client).
template <auto Handler>
constexpr auto OnSizeMessage() {
  using T = typename MemberClass<decltype(Handler)>::Class;
  return MessageEntry<T>{WM_SIZE, kAny, kAny, nullptr, [](T& self, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                           (self.*Handler)(static_cast<UINT>(wParam), SIZE{LOWORD(lParam), HIWORD(lParam)});
                           result = 0;
                           return true;
                         }};
}

// WM_PAINT between BeginPaint and EndPaint: void OnPaint(HDC dc, const
// PAINTSTRUCT& paint). The window is validated whatever the handler draws.
template <auto Handler>
constexpr auto OnPaintMessage() {
  using T = typename MemberClass<decltype(Handler)>::Class;
  return MessageEntry<T>{WM_PAINT, kAny, kAny, nullptr, [](T& self, WPARAM, LPARAM, LRESULT& result) {
                           PAINTSTRUCT paint{};
                           HDC dc = ::BeginPaint(self.m_hWnd, &paint);
                           if (dc) (self.*Handler)(dc, paint);
                           ::EndPaint(self.m_hWnd, &paint);
                           result = 0;
                           return true;
                         }};
}

// WM_HSCROLL or WM_VSCROLL as the request (SB_LINEUP...) and the scroll bar
// control (null for the window's own bar): void OnScroll(UINT request,
// HWND control).
template <UINT Message, auto Handler>
constexpr auto OnScrollMessage() {
  static_assert(Message == WM_HSCROLL || Message == WM_VSCROLL);
  using T = typename MemberClass<decltype(Handler)>::Class;
  return MessageEntry<T>{Message, kAny, kAny, nullptr, [](T& self, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                           (self.*Handler)(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
                           result = 0;
                           return true;
                         }};
}

// A WM_CTLCOLOR* message, reflected or not, as the control's DC and window:
// HBRUSH OnColor(HDC dc, HWND control). A null brush leaves the colours to
// the default handling.
template <UINT Message, auto Handler>
constexpr auto OnColorMessage() {
  using T = typename MemberClass<decltype(Handler)>::Class;
  return MessageEntry<T>{Message, kAny, kAny, nullptr, [](T& self, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                           HBRUSH brush =
                               (self.*Handler)(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
                           if (!brush) return false;
                           result = reinterpret_cast<LRESULT>(brush);
                           return true;
                         }};
}

// The code and ID a message carries (both 0 for other messages).
inline void DecodeMessage(UINT message, WPARAM wParam, LPARAM lParam, UINT& code, UINT& id) {
  code = 0;
  id = 0;
  if (message == WM_COMMAND || message == Reflected(WM_COMMAND)) {
    code = HIWORD(wParam);
    id = LOWORD(wParam);
  } else if ((message == WM_NOTIFY || message == Reflected(WM_NOTIFY)) && lParam != 0) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    code = header->code;
    id = static_cast<UINT>(header->idFrom);
  }
}

template <class T>
bool DispatchTable(T& self, std::type_identity_t<MessageTable<T>> table, UINT message, WPARAM wParam, LPARAM lParam,
                   LRESULT& result) {
  UINT code = 0;
  UINT id = 0;
  DecodeMessage(message, wParam, lParam, code, id);
  for (const auto& entry : table) {
    if (entry.message != message) continue;
    if (entry.code != kAny && entry.code != code) continue;
    if (entry.id != kAny && entry.id != id) continue;
    if (entry.typed) return entry.typed(self, wParam, lParam, result);
    result = (self.*entry.handler)(wParam, lParam);
    return true;
  }
  return false;
}

// A window class with a message table: T answers a message from its own
// table, T::Messages(), and hands every other one on to Base. The one place
// a table chains to its base class's.
template <class T, class Base>
class WithMessageTable : public Base {
 public:
  using Base::Base;
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return DispatchTable(static_cast<T&>(*this), T::Messages(), message, wParam, lParam, result) ||
           Base::OnWndMsg(message, wParam, lParam, result);
  }
};

// The state a command's enabling handler decides: enabled, and for toggles
// a check mark (shown as a pressed button on the toolbar).
struct CommandUI {
  UINT id = 0;
  bool enabled = true;
  std::optional<bool> checked;
  void Enable(bool on) { enabled = on; }
  void SetCheck(bool on) { checked = on; }
};

// One command of a frame: its handler and its enabling handler (none:
// always enabled). A command without an entry is disabled everywhere.
template <class T>
struct CommandEntry {
  UINT id;
  void (T::*handler)();
  void (T::*update)(CommandUI&);
};

// Runs the handler (ui null) or the enabling handler of a command; false
// when the table has no entry for it.
template <class T, size_t N>
bool RouteCommandTable(T& self, const CommandEntry<T> (&table)[N], UINT id, CommandUI* ui) {
  for (const auto& entry : table) {
    if (entry.id != id) continue;
    if (ui) {
      if (entry.update) (self.*entry.update)(*ui);
    } else if (entry.handler) {
      (self.*entry.handler)();
    }
    return true;
  }
  return false;
}

}  // namespace qm::fw
