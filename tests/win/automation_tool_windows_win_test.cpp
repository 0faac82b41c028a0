// The two tools' windows driven in this process on their own resources:
// the directory check on a fixture tree, the services manager on the
// services Wine provides.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/number_format.h"
#include "dir_check/dir_check_ids.h"
#include "dir_check/ui/dir_check_window.h"
#include "framework/wnd.h"
#include "services_manager/services_ids.h"
#include "services_manager/ui/services_window.h"
#include "tests/win/app_fixture.h"
#include "tests/win/modal_driver.h"
#include "tests/win/pump.h"

namespace qm {
namespace {

// The windows' resources come from the tool's executable, loaded as data,
// for the scope of a test.
class ToolResources {
 public:
  explicit ToolResources(const char* relative) {
    const std::wstring exe = Widen(std::string(QM_FIXTURE_DIR) + "/../" + relative);
    module_ = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    fw::SetResourceInstance(module_);
  }
  ~ToolResources() {
    fw::SetResourceInstance(nullptr);
    if (module_) ::FreeLibrary(module_);
  }
  ToolResources(const ToolResources&) = delete;
  ToolResources& operator=(const ToolResources&) = delete;
  bool Loaded() const { return module_ != nullptr; }

 private:
  HMODULE module_ = nullptr;
};

TEST(DirCheckWindowTest, WalksTheFixtureTreeAndShowsItsFilesAndTotalsAndAnUnreadableFolder) {
  ToolResources resources("dir_check/turmidex.exe");
  ASSERT_TRUE(resources.Loaded());
  dircheck::CDirCheckWindow window;
  ASSERT_TRUE(window.Show());
  EXPECT_EQ(::GetWindowTextLengthW(window.m_hWnd) > 0, true);
  window.StartWalk(std::string(QM_FIXTURE_DIR) + "\\dir_tree");
  ASSERT_TRUE(PumpUntil([&] { return !window.IsWalking(); }, 20000));
  const dircheck::WalkResult& result = window.Result();
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(result.totals.files, 3u);
  EXPECT_EQ(result.totals.folders, 2u);
  EXPECT_EQ(result.totals.bytes, (5ULL << 30) + 5 + 3) << "a size beyond 32 bits is read whole";
  // Wine leaves a dangling Unix link out of a folder's listing (the
  // fixture's "dangling" is neither a file nor a problem here); the host
  // tests see it through the POSIX tree.
  EXPECT_TRUE(result.problems.empty()) << result.problems.size() << " problem(s)";
  // The window shows what the walk found.
  EXPECT_EQ(::SendDlgItemMessageW(window.m_hWnd, IDC_DC_FILES, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(::SendDlgItemMessageW(window.m_hWnd, IDC_DC_PROBLEMS, LVM_GETITEMCOUNT, 0, 0),
            static_cast<LRESULT>(result.problems.size()));
  const std::string totals = ItemText(window.m_hWnd, IDC_DC_TOTALS);
  EXPECT_NE(totals.find(FormatNumber(result.totals.bytes)), std::string::npos) << totals;

  // A folder that cannot be read (here: one that is not there) is a problem
  // with the system's text, not a failure of the window.
  window.StartWalk(std::string(QM_FIXTURE_DIR) + "\\no-such-folder");
  ASSERT_TRUE(PumpUntil([&] { return !window.IsWalking(); }, 20000));
  ASSERT_EQ(window.Result().problems.size(), 1u);
  EXPECT_EQ(window.Result().problems[0].kind, dircheck::ProblemKind::kUnreadableFolder);
  EXPECT_FALSE(window.Result().problems[0].detail.empty());
}

class ServicesWindowTest : public ::testing::Test {
 protected:
  // Waits for the service to reach a state, reading the list again.
  bool WaitForState(const std::string& name, uint32_t state) {
    return PumpUntil(
        [&] {
          window_.Refresh();
          const auto row = services::FindRow(window_.Rows(), name);
          return row && window_.Rows()[*row].state == state;
        },
        15000);
  }
  uint32_t StateOf(const std::string& name) {
    const auto row = services::FindRow(window_.Rows(), name);
    return row ? window_.Rows()[*row].state : 0;
  }
  // Presses a button of the window and answers its question with Yes;
  // returns the text of the error box that followed, if one did.
  std::string PressAndConfirm(int button) {
    std::string error;
    ModalDriver driver;
    driver.On(L"Palvexi", [](HWND box) { ModalDriver::Press(box, IDYES); });
    driver.On(L"Palvexi", [&](HWND box) {
      wchar_t text[1024] = {};
      ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
      error = Narrow(text);
      ModalDriver::Press(box, IDOK);
    });
    ::PostMessageW(window_.m_hWnd, WM_COMMAND, static_cast<WPARAM>(button), 0);
    // The command is handled in one go: the question, the change and the
    // error box, when there is one, have all come and gone once it returns.
    PumpUntil([&] { return driver.Done() >= 1; }, 10000);
    return error;
  }

  ToolResources resources_{"services_manager/palvexi.exe"};
  services::CServicesWindow window_;
};

TEST_F(ServicesWindowTest, StartsAndStopsTheSpoolerAndShowsTheRefusalToStopTheEventLog) {
  ASSERT_TRUE(resources_.Loaded());
  ASSERT_TRUE(window_.Show());
  ASSERT_TRUE(services::FindRow(window_.Rows(), "Spooler"));
  ASSERT_TRUE(services::FindRow(window_.Rows(), "Eventlog"));
  EXPECT_EQ(::SendDlgItemMessageW(window_.m_hWnd, IDC_SM_LIST, LVM_GETITEMCOUNT, 0, 0),
            static_cast<LRESULT>(window_.Rows().size()));

  ASSERT_TRUE(window_.SelectService("Spooler"));
  if (StateOf("Spooler") != services::kRunning) {
    EXPECT_EQ(PressAndConfirm(IDC_SM_START), "");
    ASSERT_TRUE(WaitForState("Spooler", services::kRunning));
  }
  EXPECT_EQ(PressAndConfirm(IDC_SM_STOP), "");
  EXPECT_TRUE(WaitForState("Spooler", services::kStopped));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window_.m_hWnd, IDC_SM_STOP)));
  EXPECT_EQ(PressAndConfirm(IDC_SM_START), "");
  EXPECT_TRUE(WaitForState("Spooler", services::kRunning)) << "the selection survives the refreshes";

  ASSERT_TRUE(window_.SelectService("Eventlog"));
  const std::string refusal = PressAndConfirm(IDC_SM_STOP);
  EXPECT_EQ(refusal.rfind("Error deteniendo el servicio \"Eventlog\"\n(#", 0), 0u) << refusal;
  const size_t text = refusal.find(") ");
  ASSERT_NE(text, std::string::npos) << refusal;
  EXPECT_GT(refusal.size(), text + 2) << "the system's own words follow the code: " << refusal;
}

}  // namespace
}  // namespace qm
