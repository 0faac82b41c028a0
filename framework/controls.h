#pragma once
// Thin control wrappers: typed messages over a control handle, texts in
// UTF-8. They do not own the control (its parent destroys it) unless they
// created it through CWnd::CreateEx; image lists stay with whoever made them.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/wnd.h"

// After <windows.h> (through wnd.h), which it needs.
#include <commctrl.h>

namespace qm::fw {

// Typed access to a tree control owned by someone else.
class CTreeCtrl {
 public:
  explicit CTreeCtrl(HWND window = nullptr) : m_hWnd(window) {}
  HWND m_hWnd;

  HTREEITEM InsertItem(const std::string& text, int image, LPARAM data, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST);
  bool DeleteAllItems();
  // The item and everything beneath it.
  bool DeleteItem(HTREEITEM item);
  unsigned GetCount() const;
  HIMAGELIST SetImageList(HIMAGELIST list, int which);
  std::string GetItemText(HTREEITEM item) const;
  bool SetItemText(HTREEITEM item, const std::string& text);
  LPARAM GetItemData(HTREEITEM item) const;
  // Normal and selected image of an item.
  bool GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
  bool SetItemImage(HTREEITEM item, int image, int selectedImage);
  UINT GetItemState(HTREEITEM item, UINT mask) const;
  HTREEITEM GetRootItem() const { return Next(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return Next(item, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return Next(item, TVGN_NEXT); }
  HTREEITEM GetParentItem(HTREEITEM item) const { return Next(item, TVGN_PARENT); }
  HTREEITEM GetSelectedItem() const { return Next(nullptr, TVGN_CARET); }
  bool ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
  bool SelectItem(HTREEITEM item);
  bool Expand(HTREEITEM item, UINT action);
  // Stops (false) or resumes (true) drawing while many items change.
  void SetRedraw(bool redraw) { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }

 private:
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  HTREEITEM Next(HTREEITEM item, UINT relation) const;
};

// A toolbar's buttons as the TOOLBAR resource (type 241) stores them: a
// version word, the button size, the count and one command ID per button
// (0 for a separator).
struct ToolBarLayout {
  bool loaded = false;  // false: the resource is missing or malformed
  int width = 0;
  int height = 0;
  std::vector<UINT> commands;  // may be empty: a toolbar with no buttons
};
// Reads the layout from the resources.
ToolBarLayout LoadToolBarLayout(HINSTANCE instance, UINT resourceId);

// The buttons of a toolbar layout: a separator for each 0, an enabled
// button for each command with the next image (separators take none), a
// check button for the commands listed in checkButtons.
std::vector<TBBUTTON> ToolBarButtons(const std::vector<UINT>& commands, const std::vector<UINT>& checkButtons);

class CToolBar : public CWnd {
 public:
  CToolBar() = default;
  ~CToolBar() override;

  // A flat toolbar with tooltips at the top of its parent, buttons and
  // images from the TOOLBAR and BITMAP resources of that ID, the images
  // drawn for the parent's DPI. Toggle buttons are check buttons so their
  // pressed state can follow a check mark.
  bool Create(HWND parent, UINT controlId, UINT resourceId, const std::vector<UINT>& toggles);
  // Swaps the images for the drawing made for another DPI and sizes the
  // buttons to them; false (images unchanged) when they cannot be loaded.
  bool SetImagesForDpi(UINT dpi);
  // The size of one button image as loaded.
  SIZE ImageSize() const { return imageSize_; }
  const std::vector<UINT>& Commands() const { return commands_; }
  void SetButtonState(UINT command, bool enabled, bool checked);
  bool IsButtonEnabled(UINT command) const;
  bool IsButtonChecked(UINT command) const;
  // The rectangle of a button in client coordinates.
  bool GetButtonRect(UINT command, RECT& rect) const;
  // The size of one button (the same for all).
  SIZE ButtonSize() const;
  // Lays the buttons out in one row, or one per line down a vertical bar.
  void SetVertical(bool vertical);
  // The width and height the buttons take as they are laid out now.
  SIZE ButtonsExtent() const;

 private:
  HIMAGELIST images_ = nullptr;  // owned
  UINT resourceId_ = 0;
  SIZE imageSize_{0, 0};
  std::vector<UINT> commands_;
};

// A status-bar pane that shows its text while a key's toggle is on.
struct StatusIndicator {
  UINT textId = 0;     // the string shown
  int virtualKey = 0;  // VK_CAPITAL, VK_NUMLOCK, VK_SCROLL
};

class CStatusBar : public CWnd {
 public:
  // The message pane plus one pane per indicator.
  bool Create(HWND parent, UINT controlId, const std::vector<StatusIndicator>& indicators);
  void SetPaneText(int pane, const std::string& text);
  std::string GetPaneText(int pane) const;
  // Lays the panes out for the bar's current width and DPI: each indicator
  // pane is 56 pixels at 96 DPI, scaled, and never narrower than its text;
  // the size grip keeps 16 pixels, scaled.
  void Resize();
  // The widths Resize gives the indicator panes, in pixels.
  std::vector<int> IndicatorWidths() const;
  // The DPI the bar is drawn for (its window's at creation); Resize after.
  void SetDpi(UINT dpi) { dpi_ = dpi; }
  // Shows each indicator's text while its key is toggled on.
  void UpdateIndicators();

 private:
  static constexpr int kIndicatorWidth = 56;
  static constexpr int kGripWidth = 16;
  // The pane's borders and the space the bar leaves round a text.
  static constexpr int kIndicatorMargins = 12;
  std::vector<StatusIndicator> indicators_;
  std::vector<std::string> texts_;
  UINT dpi_ = 96;
};

}  // namespace qm::fw
