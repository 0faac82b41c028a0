#pragma once
// The strip a toolbar is docked in. It draws the gripper, holds the toolbar
// beside it (along the strip on the top and bottom, down it on the left and
// right) and lets the user drag the toolbar by the gripper to another side
// of the frame. The frame owns the layout: the strip only asks it where a
// release would dock and tells it to dock there.

#include <optional>

#include "common/dock_layout.h"
#include "framework/controls.h"

namespace qm::fw {

class IDockSite {
 public:
  // The side a release at this screen point docks on.
  virtual DockSide DockSideAt(POINT screen) = 0;
  // Where the strip would be on that side, in the site's client coordinates.
  virtual RECT DockedBarRect(DockSide side) = 0;
  virtual void DockToolBar(DockSide side) = 0;

 protected:
  ~IDockSite() = default;
};

class CDockBar : public WithMessageTable<CDockBar, CWnd> {
 public:
  // The class's own messages, answered before the base class's.
  static MessageTable<CDockBar> Messages();
  // Created with the sizes of the parent's DPI.
  bool Create(IDockSite& site, HWND parent, UINT controlId);
  // Takes the gripper, padding and outline sizes of another DPI and lays
  // the toolbar out again (the toolbar's images are the frame's to swap).
  void SetDpi(UINT dpi);
  const DockMetrics& Metrics() const { return metrics_; }
  // Takes in a toolbar created as this strip's child; its commands and
  // notifications go to notify (the frame).
  void SetToolBar(CToolBar& toolBar, HWND notify);
  // Turns the toolbar along or down the strip for that side.
  void SetSide(DockSide side);
  DockSide Side() const { return side_; }
  // The strip's height on the top or bottom, its width on the left or right.
  int Thickness(DockSide side) const;
  // The gripper in client coordinates: where a drag starts.
  RECT GripperRect() const;
  bool IsTracking() const { return tracking_; }

 private:
  void OnPaint(HDC dc, const PAINTSTRUCT& paint);
  void OnSize(UINT kind, SIZE client);
  LRESULT OnSetCursor(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnKeyDown(WPARAM, LPARAM);
  LRESULT OnCaptureChanged(WPARAM, LPARAM);

  void PlaceToolBar();
  // Draws the outline of where the strip would go, erasing the one shown;
  // nullopt only erases.
  void ShowOutline(std::optional<RECT> outline);
  // Ends a drag: outline erased, capture and focus given back.
  void EndTracking();

  IDockSite* site_ = nullptr;
  CToolBar* toolBar_ = nullptr;
  DockSide side_ = DockSide::Top;
  DockMetrics metrics_ = DockMetricsFor(kDesignDpi);

  bool tracking_ = false;  // the button went down on the gripper
  bool dragging_ = false;  // and the pointer has since moved far enough
  POINT start_{};
  DockSide target_ = DockSide::Top;
  std::optional<RECT> outline_;
  HWND previousFocus_ = nullptr;
};

}  // namespace qm::fw
