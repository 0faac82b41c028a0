#pragma once
// A frame drawn on the screen round another program's window without
// painting into it: four bars and a label, each a topmost window of our
// own that is layered and transparent to the mouse (the pointer, a click
// and WindowFromPoint go through to the window below), never activated and
// never on the taskbar. The windows exist only while shown: Hide destroys
// them, so no window list ever finds them.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "common/geometry.h"
#include "framework/wnd.h"

namespace qm::fw {

class CScreenOutline {
 public:
  // A strong red that stands out on the system's greys and blues.
  static constexpr COLORREF kColour = RGB(230, 0, 38);

  CScreenOutline();
  ~CScreenOutline();
  CScreenOutline(const CScreenOutline&) = delete;
  CScreenOutline& operator=(const CScreenOutline&) = delete;

  // Shows the bars and the label at these places (screen coordinates), or
  // moves the ones on screen there; an empty label text shows no label.
  // False when a window could not be made (then nothing is shown).
  bool Show(const std::array<Rect, 4>& bars, const std::string& label, const Rect& labelRect);
  void Hide();
  bool IsShown() const { return bars_[0] != nullptr; }

  // The label's size for a text, its margins included.
  SIZE MeasureLabel(const std::string& text) const;
  // The windows on screen: the bars, then the label.
  std::vector<HWND> Windows() const;

 private:
  class CPiece;
  std::array<std::unique_ptr<CPiece>, 4> bars_;
  std::unique_ptr<CPiece> label_;
};

}  // namespace qm::fw
