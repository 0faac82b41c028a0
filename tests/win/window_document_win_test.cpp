#include "platform/win32/win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/quillmar_doc.h"
#include "windows/window_array.h"
#include "app/window_format.h"
#include "common/text.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"
#include "processes/process_info.h"

namespace qm {
namespace {

uint64_t H(const void* handle) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle)); }

// A real owned frame with a menu and a child button, in a class of its own
// with an icon and a cursor.
class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"QuillmarPruebaÑ";
    atom_ = ::RegisterClassExW(&wc);
    ASSERT_NE(atom_, 0);
    owner_ = ::CreateWindowExW(0, L"QuillmarPruebaÑ", L"Propietaria", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr,
                               nullptr, wc.hInstance, nullptr);
    menu_ = ::CreateMenu();
    ::AppendMenuW(menu_, MF_STRING, 100, L"&Archivo");
    frame_ =
        ::CreateWindowExW(WS_EX_TOOLWINDOW, L"QuillmarPruebaÑ", L"Ventana ñ — Окно 窗口",
                          WS_OVERLAPPEDWINDOW | WS_VISIBLE, -20, 30, 320, 240, owner_, menu_, wc.hInstance, nullptr);
    button_ = ::CreateWindowExW(0, L"BUTTON", L"Aceptar", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 10, 80, 24, frame_,
                                reinterpret_cast<HMENU>(static_cast<uintptr_t>(1001)), wc.hInstance, nullptr);
    ASSERT_TRUE(owner_ && frame_ && button_);
  }
  void TearDown() override {
    if (frame_) ::DestroyWindow(frame_);
    if (owner_) ::DestroyWindow(owner_);
    if (atom_) ::UnregisterClassW(L"QuillmarPruebaÑ", ::GetModuleHandleW(nullptr));
  }

  const std::vector<WindowProperty> Read(HWND window) {
    CQuillmarDoc doc(SystemPlatform());
    doc.m_hCapturedWnd = H(window);
    doc.RefreshProperties();
    return {doc.m_properties.begin(), doc.m_properties.end()};
  }

  ATOM atom_ = 0;
  HWND owner_ = nullptr, frame_ = nullptr, button_ = nullptr;
  HMENU menu_ = nullptr;
};

TEST_F(RealWindow, TheDocumentReadsWhatThePlatformKnows) {
  const auto p = Read(frame_);
  EXPECT_EQ(p[0].value, FormatHandle(H(frame_)));
  EXPECT_EQ(p[1].value, "Sí");
  EXPECT_EQ(p[3].value, "Sí");
  EXPECT_EQ(p[6].value, "QuillmarPruebaÑ");
  EXPECT_EQ(p[7].value, "Ventana ñ — Окно 窗口");
  RECT r{};
  ::GetWindowRect(frame_, &r);
  EXPECT_EQ(r.left, -20);
  EXPECT_EQ(p[8].value, Format("izquierda=%ld, arriba=%ld, derecha=%ld, abajo=%ld", r.left, r.top, r.right, r.bottom));
  ::GetClientRect(frame_, &r);
  EXPECT_EQ(p[9].value, Format("izquierda=0, arriba=0, derecha=%ld, abajo=%ld", r.right, r.bottom));
  EXPECT_EQ(p[10].raw, static_cast<uint32_t>(::GetWindowLongW(frame_, GWL_STYLE)));
  EXPECT_NE(p[10].raw & WS_CAPTION, 0u);
  EXPECT_NE(p[11].raw & WS_EX_TOOLWINDOW, 0u);
  EXPECT_EQ(p[12].raw, static_cast<uint64_t>(::GetWindowLongPtrW(frame_, GWLP_WNDPROC)));
  EXPECT_EQ(p[13].raw, H(::GetModuleHandleW(nullptr)));
  EXPECT_EQ(p[15].raw, H(owner_));
  EXPECT_EQ(p[16].value, "NULL");  // an overlapped window has no parent, even when owned
  EXPECT_EQ(p[19].raw, H(menu_));
  EXPECT_EQ(p[20].raw, static_cast<uint64_t>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
  EXPECT_EQ(p[21].raw, H(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW))));
  EXPECT_EQ(p[22].raw, static_cast<uint64_t>(COLOR_WINDOW + 1));
  EXPECT_EQ(p[23].raw, H(::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
  EXPECT_EQ(p[24].raw, static_cast<uint64_t>(::GetClassLongPtrW(frame_, GCLP_HICONSM)));
  EXPECT_EQ(p[25].value, "NULL");
  EXPECT_EQ(p[26].raw, H(reinterpret_cast<void*>(::DefWindowProcW)));
  EXPECT_EQ(p[27].value, SystemPlatform().files->GetModuleFileName());
  const DWORD pid = ::GetCurrentProcessId();
  EXPECT_EQ(p[28].value, Format("%lu (0x%08lx)", pid, pid));
}

TEST_F(RealWindow, AChildControlAndAVanishedWindow) {
  auto p = Read(button_);
  EXPECT_EQ(p[2].value, "No");
  EXPECT_EQ(p[6].value, "Button");
  EXPECT_EQ(p[7].value, "Aceptar");
  EXPECT_EQ(p[14].value, "[0x000003e9]");
  EXPECT_EQ(p[16].raw, H(frame_));
  EXPECT_EQ(p[15].value, "NULL");

  ::DestroyWindow(button_);
  p = Read(button_);
  EXPECT_EQ(p[1].value, "No");
  EXPECT_EQ(p[6].value, "");
  EXPECT_EQ(p[28].value, "");
}

TEST_F(RealWindow, ChildEnumerationOfARealWindow) {
  CWindowArray children(*SystemPlatform().windows, H(frame_));
  EXPECT_EQ(children.EnumChildren(true), 1);
  EXPECT_EQ(children.GetWindowAt(0), H(button_));
  // A window without children is no failure, whatever the platform's result.
  CWindowArray none(*SystemPlatform().windows, H(button_));
  EXPECT_EQ(none.EnumChildren(), 0);
  CWindowArray top(*SystemPlatform().windows);
  top.EnumTopLevelOfProcess(::GetCurrentProcessId());
  EXPECT_NE(std::find(top.m_handles.begin(), top.m_handles.end(), H(frame_)), top.m_handles.end());
  EXPECT_EQ(ProcessIdFromWindow(SystemPlatform(), H(frame_)), ::GetCurrentProcessId());
}

}  // namespace
}  // namespace qm
