#pragma once
// An icon static (SS_ICON) that cycles through a list of icons: the first
// frame at the first tick after Start, then a new frame at the first tick
// after more than one period since the last change. The control is
// subclassed so it receives its own timer.
//
// Ownership: the icons are not owned (whoever loaded them keeps them alive
// for as long as the control runs); the subclass goes with the window.

#include <vector>

#include "common/animation_clock.h"
#include "platform/win32/win.h"

namespace qm {

constexpr UINT_PTR IDT_ANIMATION = 1025;
constexpr UINT kAnimationTickMs = 100;

class CAnimatedIcon {
 public:
  CAnimatedIcon() = default;
  CAnimatedIcon(const CAnimatedIcon&) = delete;
  CAnimatedIcon& operator=(const CAnimatedIcon&) = delete;
  ~CAnimatedIcon();

  // Takes over an icon static of a dialog; false when it is missing.
  bool SubclassDlgItem(int controlId, HWND dialog);
  // Appends a frame; its index.
  int AddIcon(HICON icon);
  // Starts the 100 ms tick with this minimum time between two frames.
  void Start(int periodMs);
  // One tick, at this tick count (the timer passes GetTickCount).
  void OnTick(DWORD now);

  HWND m_hWnd = nullptr;
  std::vector<HICON> m_icons;
  // The frame shown, the period and the time of the last change.
  AnimationClock m_clock;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  void Release();
};

}  // namespace qm
