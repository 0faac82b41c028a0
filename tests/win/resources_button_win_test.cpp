// "Recursos..." of the module information dialog opens the resource
// browser on the module shown.
#include <gtest/gtest.h>

#include "processes/ui/module_info_dlg.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/modal_driver.h"

namespace qm {
namespace {

TEST(ResourcesButton, ModuleInformationOpensTheBrowserOnItsModule) {
  LoadProgramResources();
  CModuleInfoDlg info(SystemPlatform());
  info.SetModulePath(std::string(QM_FIXTURE_DIR) + "/x86_64/resources.dll");
  std::wstring root;
  bool enabled = false;
  ModalDriver driver;
  driver
      .On(L"Información sobre un módulo",
          [&](HWND dialog) {
            enabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_MODULE_RESOURCES));
            ::PostMessageW(dialog, WM_COMMAND, IDC_MODULE_RESOURCES, 0);
          })
      .On(L"Recursos de un módulo",
          [&](HWND browser) {
            HWND tree = ::GetDlgItem(browser, IDC_ITEM_TREE);
            wchar_t text[64] = {};
            TVITEMW item{};
            item.mask = TVIF_TEXT;
            item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            item.pszText = text;
            item.cchTextMax = 64;
            ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            root = text;
            ModalDriver::Press(browser, IDCANCEL);
          })
      .On(L"Información sobre un módulo", [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  info.DoModal();
  EXPECT_TRUE(driver.AllDone());
  EXPECT_TRUE(enabled);
  EXPECT_EQ(root, L"resources.dll");
}

}  // namespace
}  // namespace qm
