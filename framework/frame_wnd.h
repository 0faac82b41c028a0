#pragma once
// The single-document frame: menu, accelerators, icon, a toolbar with
// tooltips and status-bar prompts docked on any of its four sides, a status
// bar, and one view filling the rest. Every command, whether it comes from the menu, the toolbar, an
// accelerator or a posted WM_COMMAND, goes through one rule: it runs only
// when the frame has a handler for it and its enabling handler allows it.
// The same enabling handlers grey the menu items before a menu opens and
// the toolbar buttons at idle.

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/dock_bar.h"
#include "framework/document.h"

namespace qm::fw {

// The program's IDs for what the frame does itself: the View menu's two
// toggles, Exit, and the toolbar's dock strip.
struct FrameIds {
  UINT viewToolBar = 0;
  UINT viewStatusBar = 0;
  UINT appExit = 0;
  UINT toolBarStrip = 0;
};

class CFrameWnd : public WithMessageTable<CFrameWnd, CWnd>, private IDockSite {
 public:
  // The class's own messages, answered before the base class's.
  static MessageTable<CFrameWnd> Messages();
  explicit CFrameWnd(const FrameIds& ids) : ids_(ids) {}
  ~CFrameWnd() override;

  // Creates the frame with the menu, accelerators and icon of resourceId,
  // titled with the first line of the string of that ID. The icon is the
  // framework class's too (see SetProgramIcon).
  bool LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);

  HACCEL Accelerators() const { return accelerators_; }
  void SetView(CView* view);
  CView* GetActiveView() const { return view_; }
  // The frame posts WM_QUIT when it is destroyed.
  void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }

  // The state a command would have now: no handler means disabled.
  CommandUI QueryCommand(UINT id);
  // Runs a command if QueryCommand allows it; false when refused. While one
  // of the frame's modal dialogs runs every command is refused: one posted
  // to the frame then (a menu editor's "Ejecutar" aimed at the frame) would
  // open a second dialog over the first and, when that one ended, enable
  // the frame under a dialog that is still modal.
  bool ExecuteCommand(UINT id);
  // A modal dialog owned by the frame is running.
  bool InModalRun() const { return modalRuns_ > 0; }
  // Counts a modal dialog of the frame (nested ones too) for its lifetime.
  class ModalRun {
   public:
    explicit ModalRun(CFrameWnd& frame) : frame_(frame) { ++frame_.modalRuns_; }
    ~ModalRun() { --frame_.modalRuns_; }
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

   private:
    CFrameWnd& frame_;
  };
  // Idle refresh of the toolbar buttons and the status-bar indicators.
  virtual void OnIdleUpdate();
  void RecalcLayout();

  // The toolbar in its dock strip, with the buttons of the TOOLBAR and
  // BITMAP resources of resourceId, docked at the top.
  bool CreateDockedToolBar(UINT controlId, UINT resourceId, const std::vector<UINT>& toggles);
  // Moves the toolbar's strip to a side of the frame and lays it out again.
  void DockToolBar(DockSide side) override;
  // Redraws what the frame draws in pixels for another DPI: the toolbar's
  // images, the strip's gripper and padding; then lays the frame out again.
  void ApplyDpi(UINT dpi);

  CDockBar m_wndDockBar;
  CToolBar m_wndToolBar;
  CStatusBar m_wndStatusBar;

 protected:
  // The command table of the class, chained to the base's; ui null runs
  // the handler, otherwise the enabling handler fills ui.
  virtual bool RouteCommand(UINT id, CommandUI* ui);
  // Called from WM_CREATE; false fails the creation.
  virtual bool OnCreateFrame() { return true; }
  // Shows the prompt of a command in the message pane (0 clears it).
  void ShowPrompt(UINT id);
  // The frame's own timers; a derived frame passes the IDs it does not
  // own on to here.
  LRESULT OnTimer(WPARAM, LPARAM);

  // Clears a toolbar button's prompt once the pointer has left the toolbar.
  static constexpr UINT_PTR kPromptTimer = 0xE000;

 private:
  LRESULT OnCreate(WPARAM, LPARAM);
  void OnSize(UINT kind, SIZE client);
  LRESULT OnDpiChanged(WPARAM, LPARAM);
  LRESULT OnCommand(WPARAM, LPARAM);
  LRESULT OnInitMenuPopup(WPARAM, LPARAM);
  LRESULT OnMenuSelect(WPARAM, LPARAM);
  LRESULT OnToolTipText(NMTTDISPINFOW& info);
  LRESULT OnHotItemChange(NMTBHOTITEM& hot);
  LRESULT OnSetFocus(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);

  void OnViewToolBar();
  void OnUpdateViewToolBar(CommandUI& ui);
  void OnViewStatusBar();
  void OnUpdateViewStatusBar(CommandUI& ui);
  void OnAppExit();

  DockSide DockSideAt(POINT screen) override;
  RECT DockedBarRect(DockSide side) override;
  // The frame's layout were the toolbar docked on that side.
  FrameLayout LayoutFor(DockSide side) const;

  const FrameIds ids_;

  HACCEL accelerators_ = nullptr;
  HICON bigIcon_ = nullptr;    // owned
  HICON smallIcon_ = nullptr;  // owned
  CView* view_ = nullptr;
  bool quitOnDestroy_ = false;
  int modalRuns_ = 0;
  std::wstring tipText_;  // must outlive the tooltip's TTN_GETDISPINFO answer
};

// The two halves of a command string: the status-bar prompt before the
// line break and the tooltip after it.
std::string CommandPrompt(UINT id);
std::string CommandTooltip(UINT id);

}  // namespace qm::fw
