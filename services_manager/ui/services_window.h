#pragma once
// The services manager's window: the installed services with their state,
// start type and process, refreshed on demand (and every half second while
// one is starting or stopping), with start and stop of the selected service
// after a confirmation. The window keeps the server alive while it is open.

#include <string>
#include <vector>

#include "framework/list_view.h"
#include "framework/tool_window.h"
#include "platform/win32/win32_system.h"

// After <windows.h> (through tool_window.h), which it needs.
#include <commctrl.h>

#include "services_manager/service_list.h"

namespace qm::services {

class CServicesWindow : public fw::WithMessageTable<CServicesWindow, fw::CToolWindow> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CServicesWindow> Messages();
  // Questions and errors go to messageBox, the window's own boxes when none.
  explicit CServicesWindow(IMessageBox* messageBox = nullptr);
  // Reads the services again, keeping the selected one selected.
  void Refresh();
  // Selects the row of the named service; false when there is none.
  bool SelectService(const std::string& name);
  const std::vector<ServiceRow>& Rows() const { return rows_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}

 private:
  LRESULT OnRefresh(WPARAM, LPARAM);
  LRESULT OnStart(WPARAM, LPARAM);
  LRESULT OnStop(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnItemChanged(NMLISTVIEW& change);
  const ServiceRow* Selected() const;
  // Asks, acts and reports; start is true for start, false for stop.
  void ChangeService(bool start);
  void UpdateButtons();

  Win32MessageBox ownMessageBox_{L"Palvexi"};
  IMessageBox& messageBox_;
  fw::CListCtrl list_;
  std::vector<ServiceRow> rows_;
  int pendingTicks_ = 0;
};

}  // namespace qm::services
