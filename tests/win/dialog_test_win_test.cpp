// A module's dialogs run live in the test window: the child takes the
// placeholder's place and the window grows or shrinks around it; templates
// the platform must not see are refused with a message.
#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "res/resource_ids.h"
#include "resources/ui/dialog_test_dlg.h"
#include "tests/win/app_fixture.h"
#include "tests/win/modal_driver.h"

namespace qm {
namespace {

RECT WindowRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}
int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

class DialogTestWindowTest : public ::testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() { LoadProgramResources(); }

  void SetUp() override {
    platform_.messageBox = &messages_;
    ASSERT_TRUE(module_.Enumerate(std::string(QM_FIXTURE_DIR) + "/" + GetParam() + "/images.dll"));
    RECT place{100, 80, 900, 680};
    ASSERT_TRUE(owner_.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place, nullptr, 0));
    // The test window as its template makes it, before any child resizes it.
    fw::CDialog blank;
    ASSERT_TRUE(blank.Create(IDD_DIALOG_TEST, owner_.m_hWnd));
    const RECT window = WindowRect(blank.m_hWnd);
    const RECT placeholder = WindowRect(::GetDlgItem(blank.m_hWnd, IDC_PAGE_PLACEHOLDER));
    marginWidth_ = Width(window) - Width(placeholder);
    marginHeight_ = Height(window) - Height(placeholder);
    POINT corner{placeholder.left, placeholder.top};
    ::ScreenToClient(blank.m_hWnd, &corner);
    placeholderCorner_ = corner;
  }

  // Runs the test window on `name`; check() sees it and its child, then the
  // child's own button `press` is clicked. Returns what the window ended with.
  INT_PTR Run(const ResourceName& name, const std::function<void(HWND, HWND)>& check, int press) {
    CDialogTestDlg dialog(platform_);
    dialog.m_pModule = &module_;
    dialog.m_dialogName = name;
    ModalDriver driver;
    driver.On(L"Prueba de diálogo", [&](HWND window) {
      check(window, dialog.Child());
      ::PostMessageW(dialog.Child(), WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), 0);
    });
    const INT_PTR result = dialog.DoModal(owner_.m_hWnd);
    EXPECT_TRUE(driver.AllDone());
    return result;
  }

  void ExpectSizedAroundChild(HWND window, HWND child) {
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(::GetParent(child), window);
    EXPECT_TRUE(::IsWindowVisible(child));
    const RECT outer = WindowRect(window), inner = WindowRect(child);
    EXPECT_EQ(Width(outer) - Width(inner), marginWidth_);
    EXPECT_EQ(Height(outer) - Height(inner), marginHeight_);
    POINT corner{inner.left, inner.top};
    ::ScreenToClient(window, &corner);
    EXPECT_EQ(corner.x, placeholderCorner_.x);
    EXPECT_EQ(corner.y, placeholderCorner_.y);
    const RECT owner = WindowRect(owner_.m_hWnd);
    EXPECT_NEAR((outer.left + outer.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
  }

  SimMessageBox messages_;
  Platform platform_ = SystemPlatform();
  CResourceModule module_{*SystemPlatform().files};
  fw::CWnd owner_;
  int marginWidth_ = 0, marginHeight_ = 0;
  POINT placeholderCorner_{};
};

TEST_P(DialogTestWindowTest, PlainPopupBecomesACaptionedChildAndItsOkClosesTheWindow) {
  const INT_PTR result = Run(
      ResourceName::Number(100),
      [&](HWND window, HWND child) {
        ExpectSizedAroundChild(window, child);
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_FALSE(style & WS_POPUP);
        EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION)) << "the caption bar stays";
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_NE(::GetDlgItem(child, 1005), nullptr) << "the template's controls are live";
      },
      IDOK);
  EXPECT_EQ(result, IDOK);
}

TEST_P(DialogTestWindowTest, ExtendedTemplateWithAMenuRunsAndItsCancelClosesTheWindow) {
  const INT_PTR result = Run(
      ResourceName::Number(101),
      [&](HWND window, HWND child) {
        ExpectSizedAroundChild(window, child);
        wchar_t text[32] = {};
        ::GetDlgItemTextW(child, IDCANCEL, text, 32);
        EXPECT_STREQ(text, L"Cancelar");
      },
      IDCANCEL);
  EXPECT_EQ(result, IDCANCEL);
}

TEST_P(DialogTestWindowTest, MissingDialogOrUnknownClassShowsTheMessageAndCloses) {
  for (const auto& name : {ResourceName::String("OPTIONS"), ResourceName::Number(999)}) {
    messages_.shown.clear();
    CDialogTestDlg dialog(platform_);
    dialog.m_pModule = &module_;
    dialog.m_dialogName = name;
    EXPECT_EQ(dialog.DoModal(owner_.m_hWnd), IDCANCEL) << name.ToText();
    ASSERT_EQ(messages_.shown.size(), 1u) << name.ToText();
    EXPECT_EQ(messages_.shown[0].text, "Error cargando el diálogo del fichero de recuros");
    EXPECT_EQ(messages_.shown[0].flags, MB_ICONEXCLAMATION_);
    EXPECT_EQ(dialog.Child(), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, DialogTestWindowTest, ::testing::Values("x86_64", "i686"));

// A window of our class that we are not creating ourselves (a foreign
// template can ask for one, with creation data of its choosing) is never
// taken for one of our objects.
TEST(FrameworkBinding, OnlyWindowsWeCreateBindToAnObject) {
  fw::CWnd ours;
  ASSERT_TRUE(ours.CreateEx(0, nullptr, L"ours", WS_OVERLAPPED, RECT{0, 0, 50, 50}, nullptr, 0));
  EXPECT_EQ(fw::CWnd::FromHandle(ours.m_hWnd), &ours);
  unsigned char creationData[64] = {0x34, 0x12};
  HWND foreign = ::CreateWindowExW(0, L"quillmarframeworkwnd", L"foreign", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                   nullptr, ::GetModuleHandleW(nullptr), creationData);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(fw::CWnd::FromHandle(foreign), nullptr);
  ::SendMessageW(foreign, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"still a plain window"));
  ::DestroyWindow(foreign);
  EXPECT_TRUE(fw::IsFrameworkClass(L"QUILLMARFRAMEWORKWND"));
  EXPECT_FALSE(fw::IsFrameworkClass(L"QuillmarFrameworkWn"));
}

}  // namespace
}  // namespace qm
