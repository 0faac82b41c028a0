// "Buscar ventana..." opened through the frame's command, on windows the
// test made: one match is captured, several are listed to pick from, none
// is told and the capture stays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/modal_driver.h"

namespace qm {
namespace {

constexpr wchar_t kCaption[] = L"Buscar ventana";

class FindWindowTest : public RunningAppTest {
 protected:
  void TearDown() override {
    for (HWND window : made_)
      if (::IsWindow(window)) ::DestroyWindow(window);
    RunningAppTest::TearDown();
  }
  HWND Make(const std::wstring& title) {
    HWND window = ::CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 50, 60, 200, 150, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    made_.push_back(window);
    return window;
  }
  // Fills in the question by title and asks it.
  static void AskTitle(HWND dialog, const std::wstring& text) {
    ::CheckRadioButton(dialog, IDC_FIND_BY_HANDLE, IDC_FIND_BY_PID, IDC_FIND_BY_TITLE);
    ::SetDlgItemTextW(dialog, IDC_FIND_TEXT, text.c_str());
    ModalDriver::Press(dialog, IDOK);
  }
  static int Rows(HWND dialog) {
    return static_cast<int>(::SendDlgItemMessageW(dialog, IDC_FIND_RESULTS, LVM_GETITEMCOUNT, 0, 0));
  }
  // A title no other window of the desktop carries.
  const std::wstring tag_ = L"Búsqueda " + std::to_wstring(::GetCurrentProcessId());
  std::vector<HWND> made_;
};

TEST_F(FindWindowTest, OneMatchIsCapturedAtOnce) {
  HWND target = Make(tag_ + L" única");
  Make(tag_ + L" otra");
  ModalDriver driver;
  driver.On(kCaption, [&](HWND dialog) { AskTitle(dialog, tag_ + L" ÚNICA"); });
  app.m_frame->ExecuteCommand(ID_FIND_WINDOW);
  EXPECT_TRUE(driver.AllDone());
  EXPECT_EQ(app.m_frame->Captured(), H(target));
}

TEST_F(FindWindowTest, SeveralAreListedAndThePickedOneIsCaptured) {
  HWND first = Make(tag_ + L" gemela");
  HWND second = Make(tag_ + L" gemela");
  int rows = 0;
  HWND picked = nullptr;
  ModalDriver driver;
  driver.On(kCaption, [&](HWND dialog) { AskTitle(dialog, tag_ + L" gemela"); }).On(kCaption, [&](HWND dialog) {
    rows = Rows(dialog);
    // The second row, picked with the dialog's button.
    HWND list = ::GetDlgItem(dialog, IDC_FIND_RESULTS);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    LVITEMW data{};
    data.mask = LVIF_PARAM;
    data.iItem = 1;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    picked = reinterpret_cast<HWND>(data.lParam);
    ModalDriver::Press(dialog, IDC_FIND_CAPTURE);
  });
  app.m_frame->ExecuteCommand(ID_FIND_WINDOW);
  EXPECT_TRUE(driver.AllDone());
  EXPECT_EQ(rows, 2);
  EXPECT_TRUE(picked == first || picked == second);
  EXPECT_EQ(app.m_frame->Captured(), H(picked));
}

TEST_F(FindWindowTest, NoneAndAMalformedHandleAreToldAndTheCaptureStays) {
  HWND captured = Make(tag_ + L" capturada");
  app.m_frame->CaptureWindow(H(captured));
  std::wstring nothing, malformed;
  const auto readAndClose = [](std::wstring& text) {
    return [&text](HWND box) {
      wchar_t buffer[512] = {};
      ::GetDlgItemTextW(box, 0xFFFF, buffer, 512);  // the message box's text
      text = buffer;
      ModalDriver::Press(box, IDOK);
    };
  };
  ModalDriver driver;
  driver.On(kCaption, [&](HWND dialog) { AskTitle(dialog, tag_ + L" ausente"); })
      .On(L"Quillmar", readAndClose(nothing))
      .On(kCaption,
          [&](HWND dialog) {
            ::CheckRadioButton(dialog, IDC_FIND_BY_HANDLE, IDC_FIND_BY_PID, IDC_FIND_BY_HANDLE);
            ::SetDlgItemTextW(dialog, IDC_FIND_TEXT, L"0x12G4");
            ModalDriver::Press(dialog, IDOK);
          })
      .On(L"Quillmar", readAndClose(malformed))
      .On(kCaption, [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  app.m_frame->ExecuteCommand(ID_FIND_WINDOW);
  EXPECT_TRUE(driver.AllDone());
  EXPECT_EQ(nothing, L"Ninguna ventana tiene un título que contenga \"" + tag_ + L" ausente\"");
  EXPECT_EQ(malformed.rfind(L"\"0x12G4\" no es un handle de ventana", 0), 0u) << Narrow(malformed);
  EXPECT_EQ(app.m_frame->Captured(), H(captured));
}

}  // namespace
}  // namespace qm
