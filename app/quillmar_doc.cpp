#include "app/quillmar_doc.h"

#include "app/window_format.h"
#include "common/text.h"
#include "processes/process_info.h"
#include "res/string_ids.h"

namespace qm {

namespace {

// The labels run in two blocks of the string table: entries 0..9 from the
// handle's label on, 10..28 from the window style's (the number between the
// two blocks is not a label).
uint32_t LabelId(int index) {
  return index < 10 ? IDS_PROPERTY_HWND + static_cast<uint32_t>(index)
                    : IDS_PROPERTY_WINDOW_STYLE + static_cast<uint32_t>(index - 10);
}

}  // namespace

void CQuillmarDoc::RefreshProperties() {
  const IStrings& strings = *m_platform.strings;
  for (int i = 0; i < kPropertyCount; ++i) m_properties[static_cast<size_t>(i)].name = strings.LoadString(LabelId(i));
  auto at = [this](int index) -> WindowProperty& { return m_properties[static_cast<size_t>(index)]; };
  const std::string yes = strings.LoadString(IDS_YES), no = strings.LoadString(IDS_NO);
  auto yesNo = [&](bool value) { return value ? yes : no; };

  const WindowHandle h = m_hCapturedWnd;
  at(kPropHandle).value = FormatHandle(h);
  const IWindowSystem* windows = m_platform.windows;
  const bool isWindow = windows && windows->IsWindow(h);
  at(kPropIsWindow).value = yesNo(isWindow);
  at(kPropIsWindow).raw = isWindow ? 1 : 0;
  if (!isWindow) {
    for (int i = kPropEnabled; i < kPropertyCount; ++i) {
      at(i).value.clear();
      at(i).raw = 0;
      at(i).rect.reset();
    }
    return;
  }

  auto setBool = [&](int index, bool value) {
    at(index).raw = value ? 1 : 0;
    at(index).value = yesNo(value);
  };
  setBool(kPropEnabled, windows->IsWindowEnabled(h));
  setBool(kPropVisible, windows->IsWindowVisible(h));
  setBool(kPropIconic, windows->IsIconic(h));
  setBool(kPropZoomed, windows->IsZoomed(h));

  const int length = windows->GetWindowTextLength(h);
  at(kPropTitle).value = windows->GetWindowText(h, length + 1);
  at(kPropClassName).value = windows->GetClassName(h);
  at(kPropClassName).raw = 0;

  // A rectangle that cannot be read shows as empty, never as stale numbers.
  Rect rect;
  at(kPropWindowRect).rect = windows->GetWindowRect(h, rect) ? std::optional(rect) : std::nullopt;
  rect = Rect{};
  at(kPropClientRect).rect = windows->GetClientRect(h, rect) ? std::optional(rect) : std::nullopt;
  for (int i : {kPropWindowRect, kPropClientRect})
    at(i).value = at(i).rect ? FormatRect(strings, *at(i).rect) : std::string();

  at(kPropOwner).raw = windows->GetWindow(h, GW_OWNER);
  at(kPropParent).raw = windows->GetParent(h);
  at(kPropNext).raw = windows->GetWindow(h, GW_HWNDNEXT);
  at(kPropPrevious).raw = windows->GetWindow(h, GW_HWNDPREV);
  at(kPropMenu).raw = windows->GetMenu(h);
  at(kPropStyle).raw = windows->GetWindowLongPtr(h, GWL_STYLE);
  at(kPropExStyle).raw = windows->GetWindowLongPtr(h, GWL_EXSTYLE);
  at(kPropWndProc).raw = windows->GetWindowLongPtr(h, GWL_WNDPROC);
  at(kPropInstance).raw = windows->GetWindowLongPtr(h, GWL_HINSTANCE);
  at(kPropId).raw = windows->GetWindowLongPtr(h, GWL_ID);
  at(kPropClassStyle).raw = windows->GetClassLongPtr(h, GCL_STYLE);
  at(kPropClassCursor).raw = windows->GetClassLongPtr(h, GCL_HCURSOR);
  at(kPropClassBackground).raw = windows->GetClassLongPtr(h, GCL_HBRBACKGROUND);
  at(kPropClassIcon).raw = windows->GetClassLongPtr(h, GCL_HICON);
  at(kPropClassSmallIcon).raw = windows->GetClassLongPtr(h, GCL_HICONSM);
  at(kPropClassMenuName).raw = windows->GetClassLongPtr(h, GCL_MENUNAME);
  at(kPropClassWndProc).raw = windows->GetClassLongPtr(h, GCL_WNDPROC);
  for (int i = kPropStyle; i <= kPropClassWndProc; ++i) at(i).value = FormatHandle(at(i).raw);

  CProcessInfo process(m_platform, ProcessSource::Psapi);
  process.ReadProcess(ProcessIdFromWindow(m_platform, h));  // a failure leaves the path empty, unreported
  at(kPropExePath).value = process.m_strExePath;
  at(kPropExePath).raw = 0;
  at(kPropProcessId).raw = process.m_dwProcessId;
  at(kPropProcessId).value = Format("%u (0x%08x)", process.m_dwProcessId, process.m_dwProcessId);
}

}  // namespace qm
