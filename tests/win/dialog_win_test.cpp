// Dialogs from in-memory templates on real controls: modeless and modal
// runs, data exchange both ways, refusal of non-numbers, reflection of
// control notifications, and the thin control wrappers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/list_box.h"
#include "framework/list_view.h"
#include "framework/progress.h"
#include "framework/static_control.h"
#include "framework/tab_control.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"
#include "tests/win/control_queries.h"
#include "tests/win/template_writer.h"

namespace qm::fw {
namespace {

enum ControlId : WORD {
  kTitleEdit = 100,
  kSignedEdit = 101,
  kUnsignedEdit = 102,
  kVisibleCheck = 103,
  kList = 104,
  kListBox = 105,
  kTabs = 106,
  kProgress = 107,
  kLabel = 108,
  kIcon = 109,
  kLargeEdit = 110,
};

std::vector<uint8_t> PropertiesTemplate() {
  TemplateWriter t(L"Propiedades", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
  t.Add(kTitleEdit, L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 5, 120, 12);
  t.Add(kSignedEdit, L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 20, 60, 12);
  t.Add(kUnsignedEdit, L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 70, 20, 60, 12);
  t.Add(kLargeEdit, L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 135, 20, 90, 12);
  t.Add(kVisibleCheck, L"Button", L"Visible", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 35, 60, 10);
  t.Add(kList, L"SysListView32", L"", LVS_REPORT | WS_BORDER, 5, 50, 140, 60);
  t.Add(kListBox, L"ListBox", L"", LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 150, 50, 80, 60);
  t.Add(kTabs, L"SysTabControl32", L"", 0, 5, 115, 140, 30);
  t.Add(kProgress, L"msctls_progress32", L"", 0, 150, 115, 80, 10);
  t.Add(kLabel, L"Static", L"Etiqueta", SS_LEFT, 5, 150, 80, 10);
  t.Add(kIcon, L"Static", L"", SS_ICON, 90, 150, 20, 20);
  t.Add(IDOK, L"Button", L"Aceptar", BS_DEFPUSHBUTTON | WS_TABSTOP, 180, 175, 50, 14);
  t.Add(IDCANCEL, L"Button", L"Cancelar", BS_PUSHBUTTON | WS_TABSTOP, 235, 175, 50, 14);
  return t.Bytes();
}

class PropertiesDialog : public CDialog {
 public:
  std::string title = "Ventana ñandú";
  int left = -42;
  unsigned count = 4000000000u;
  long long large = -5000000000LL;
  bool visible = true;
  bool postOnInit = false;
  WPARAM postedCommand = IDOK;

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CDialog::OnInitDialog();
    if (postOnInit) PostMessage(WM_COMMAND, postedCommand, 0);
    return result;
  }
  void DoDataExchange(CDataExchange& exchange) override {
    DDX_Text(exchange, kTitleEdit, title);
    DDX_Text(exchange, kSignedEdit, left);
    DDX_Text(exchange, kUnsignedEdit, count);
    DDX_Text(exchange, kLargeEdit, large);
    DDX_Check(exchange, kVisibleCheck, visible);
  }
};

void SetItemText(HWND dialog, int id, const std::string& text) { ::SetDlgItemTextW(dialog, id, Widen(text).c_str()); }

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    SetNotWholeNumberMessage(IDS_NOT_WHOLE_NUMBER);
  }

  void SetUp() override {
    dialog.SetMessageBox(&messages);
    ASSERT_TRUE(dialog.CreateIndirect(PropertiesTemplate()));
    ASSERT_TRUE(::IsWindow(dialog.m_hWnd));
  }

  HWND Item(int id) const { return ::GetDlgItem(dialog.m_hWnd, id); }

  SimMessageBox messages;
  PropertiesDialog dialog;
};

TEST_F(DialogTest, ExchangeFillsControlsAndReadsThemBack) {
  // Filled from the members at initialisation.
  EXPECT_EQ(ItemText(dialog.m_hWnd, kTitleEdit), "Ventana ñandú");
  EXPECT_EQ(ItemText(dialog.m_hWnd, kSignedEdit), "-42");
  EXPECT_EQ(ItemText(dialog.m_hWnd, kUnsignedEdit), "4000000000");
  EXPECT_EQ(ItemText(dialog.m_hWnd, kLargeEdit), "-5000000000");
  EXPECT_EQ(::SendMessageW(Item(kVisibleCheck), BM_GETCHECK, 0, 0), BST_CHECKED);

  SetItemText(dialog.m_hWnd, kTitleEdit, "Otra");
  SetItemText(dialog.m_hWnd, kSignedEdit, "  +17 ");
  SetItemText(dialog.m_hWnd, kUnsignedEdit, "4294967295");
  SetItemText(dialog.m_hWnd, kLargeEdit, "-9223372036854775808");
  ::SendMessageW(Item(kVisibleCheck), BM_SETCHECK, BST_UNCHECKED, 0);
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.title, "Otra");
  EXPECT_EQ(dialog.left, 17);
  EXPECT_EQ(dialog.count, 4294967295u);
  EXPECT_EQ(dialog.large, INT64_MIN);
  EXPECT_FALSE(dialog.visible);
  EXPECT_TRUE(messages.shown.empty());

  // A valid OK ends the modeless dialog with IDOK.
  ::SendMessageW(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(dialog.Result(), IDOK);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, NonNumbersAreRefusedAndKeepTheDialogOpen) {
  struct Case {
    int id;
    const char* text;
  };
  const Case refused[] = {
      {kSignedEdit, "12a"}, {kSignedEdit, ""},    {kSignedEdit, "1.5"},  {kSignedEdit, "2147483648"},
      {kSignedEdit, "+-3"}, {kSignedEdit, "- 3"}, {kUnsignedEdit, "-1"}, {kUnsignedEdit, "4294967296"},
      {kLargeEdit, "0x10"}};
  for (const Case& c : refused) {
    SCOPED_TRACE(c.text);
    messages.shown.clear();
    SetItemText(dialog.m_hWnd, kSignedEdit, "5");
    SetItemText(dialog.m_hWnd, kUnsignedEdit, "6");
    SetItemText(dialog.m_hWnd, kLargeEdit, "7");
    SetItemText(dialog.m_hWnd, c.id, c.text);
    ::SetFocus(Item(kTitleEdit));

    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, IDOK, 0);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Introduzca un número entero.");
    EXPECT_TRUE(messages.shown[0].flags & MB_ICONEXCLAMATION);
    EXPECT_EQ(::GetFocus(), Item(c.id));
    ASSERT_TRUE(::IsWindow(dialog.m_hWnd));
    EXPECT_EQ(dialog.Result(), 0);
  }
  // Members past the refused field are untouched; those before it took
  // their value.
  EXPECT_EQ(dialog.left, 5);
  EXPECT_EQ(dialog.count, 6u);
  EXPECT_EQ(dialog.large, -5000000000LL);
  EXPECT_TRUE(dialog.visible);
}

TEST_F(DialogTest, CancelEndsWithoutReadingTheControls) {
  SetItemText(dialog.m_hWnd, kSignedEdit, "not a number");
  ::SendMessageW(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(dialog.Result(), IDCANCEL);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(dialog.left, -42);
}

TEST(DialogModalTest, PostedCommandsEndTheModalLoop) {
  PropertiesDialog ok;
  ok.postOnInit = true;
  EXPECT_EQ(ok.DoModalIndirect(PropertiesTemplate()), IDOK);
  EXPECT_EQ(ok.left, -42);  // the values it showed came back unchanged
  EXPECT_EQ(ok.m_hWnd, nullptr);

  PropertiesDialog cancel;
  cancel.postOnInit = true;
  cancel.postedCommand = IDCANCEL;
  EXPECT_EQ(cancel.DoModalIndirect(PropertiesTemplate()), IDCANCEL);

  // Bytes too short for a template never reach the dialog manager.
  PropertiesDialog broken;
  EXPECT_EQ(broken.DoModalIndirect(std::vector<uint8_t>(10, 0)), -1);
  EXPECT_FALSE(broken.CreateIndirect({}));
}

// A button wrapper that handles its own clicks through reflection, and a
// dialog whose table sees the clicks the wrapper leaves alone.
class CountingButton : public CWnd {
 public:
  int clicks = 0;
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return DispatchTable(*this, kMessages, message, wParam, lParam, result) ||
           CWnd::OnWndMsg(message, wParam, lParam, result);
  }

 private:
  LRESULT OnReflectedCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) == BN_CLICKED) ++clicks;
    return 0;
  }
  static constexpr MessageEntry<CountingButton> kMessages[] = {
      OnMessage(Reflected(WM_COMMAND), &CountingButton::OnReflectedCommand)};
};

// Its table chains to the base dialog's through WithMessageTable: the
// Cancel click the wrapper leaves would otherwise close it.
class ReflectingDialog : public WithMessageTable<ReflectingDialog, PropertiesDialog> {
 public:
  int checkClicks = 0;
  static MessageTable<ReflectingDialog> Messages() {
    static constexpr MessageEntry<ReflectingDialog> kTable[] = {
        {WM_COMMAND, BN_CLICKED, kVisibleCheck, &ReflectingDialog::OnCheckClicked}};
    return kTable;
  }

 private:
  LRESULT OnCheckClicked(WPARAM, LPARAM) {
    ++checkClicks;
    return 0;
  }
};

TEST(DialogReflectionTest, ControlWrapperGetsItsNotificationsFirst) {
  ReflectingDialog dialog;
  ASSERT_TRUE(dialog.CreateIndirect(PropertiesTemplate()));
  CountingButton cancel;
  cancel.Attach(::GetDlgItem(dialog.m_hWnd, IDCANCEL));

  // The wrapper takes the Cancel click, so the dialog stays open.
  ::SendMessageW(cancel.m_hWnd, BM_CLICK, 0, 0);
  EXPECT_EQ(cancel.clicks, 1);
  EXPECT_TRUE(::IsWindow(dialog.m_hWnd));

  // An unwrapped control reaches the dialog's own table.
  ::SendMessageW(::GetDlgItem(dialog.m_hWnd, kVisibleCheck), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.checkClicks, 1);
  cancel.Detach();
}

// A static wrapper that colours itself through the reflected colour
// message, and counts the typed notifications of its own.
class SelfColouringLabel : public CWnd {
 public:
  int colourRequests = 0;
  UINT lastCode = 0;
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return DispatchTable(*this, kMessages, message, wParam, lParam, result) ||
           CWnd::OnWndMsg(message, wParam, lParam, result);
  }

 private:
  LRESULT OnColour(WPARAM, LPARAM) {
    ++colourRequests;
    return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
  }
  LRESULT OnAnyNotify(NMHDR& header) {
    lastCode = header.code;
    return 7;
  }
  static constexpr MessageEntry<SelfColouringLabel> kMessages[] = {
      OnMessage(Reflected(WM_CTLCOLORSTATIC), &SelfColouringLabel::OnColour),
      OnReflectedNotify<&SelfColouringLabel::OnAnyNotify>(NM_CLICK)};
};

TEST(DialogReflectionTest, ColourAndTypedNotificationsReachOnlyADirectChildsWrapper) {
  PropertiesDialog dialog;
  ASSERT_TRUE(dialog.CreateIndirect(PropertiesTemplate()));
  SelfColouringLabel label;
  label.Attach(::GetDlgItem(dialog.m_hWnd, kLabel));
  HDC dc = ::GetDC(label.m_hWnd);
  const LRESULT brush = ::SendMessageW(dialog.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(label.m_hWnd));
  EXPECT_EQ(label.colourRequests, 1);
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH)));

  NMHDR click{label.m_hWnd, kLabel, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(::SendMessageW(dialog.m_hWnd, WM_NOTIFY, kLabel, reinterpret_cast<LPARAM>(&click)), 7)
      << "the typed handler's answer is the dialog's";
  EXPECT_EQ(label.lastCode, static_cast<UINT>(NM_CLICK));

  // A window that is not the dialog's own child is not answered for it,
  // even when it names a wrapped control.
  PropertiesDialog other;
  ASSERT_TRUE(other.CreateIndirect(PropertiesTemplate()));
  ::SendMessageW(other.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label.m_hWnd));
  EXPECT_EQ(label.colourRequests, 1);
  ::ReleaseDC(label.m_hWnd, dc);
  label.Detach();
}

TEST_F(DialogTest, ListViewWrapperRoundTrips) {
  CListCtrl list(Item(kList));
  EXPECT_EQ(list.InsertColumn(0, "Nombre", LVCFMT_LEFT, 80), 0);
  EXPECT_EQ(list.InsertColumn(1, "Valor", LVCFMT_LEFT, 60), 1);
  EXPECT_EQ(list.GetColumnCount(), 2);
  EXPECT_EQ(list.GetColumnWidth(0), 80);
  ASSERT_TRUE(list.SetColumnWidth(1, 70));
  EXPECT_EQ(list.GetColumnWidth(1), 70);

  EXPECT_EQ(list.InsertItem(0, "primero"), 0);
  EXPECT_EQ(list.InsertItem(1, "segundo"), 1);
  EXPECT_EQ(list.InsertItem(0, "cero"), 0);
  ASSERT_EQ(list.GetItemCount(), 3);
  EXPECT_TRUE(list.SetItemText(1, 1, "valor ñ"));
  EXPECT_EQ(list.GetItemText(1, 0), "primero");
  EXPECT_EQ(list.GetItemText(1, 1), "valor ñ");
  const std::string longText(1000, 'x');
  EXPECT_TRUE(list.SetItemText(2, 1, longText));
  EXPECT_EQ(list.GetItemText(2, 1), longText);

  EXPECT_TRUE(list.SetItemData(2, 0x12345678));
  EXPECT_EQ(list.GetItemData(2), 0x12345678);
  EXPECT_EQ(list.GetItemData(0), 0);

  EXPECT_EQ(list.GetNextSelected(), -1);
  EXPECT_TRUE(list.SetItemSelected(2, true));
  EXPECT_EQ(list.GetNextSelected(), 2);
  EXPECT_EQ(list.GetSelectedCount(), 1u);
  EXPECT_TRUE(list.SetItemSelected(-1, false));
  EXPECT_EQ(list.GetSelectedCount(), 0u);

  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(list.GetItemText(0, 0), "primero");
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_TRUE(list.DeleteColumn(1));
  EXPECT_EQ(list.GetColumnCount(), 1);
}

TEST_F(DialogTest, ListBoxTabProgressAndStaticWrappersRoundTrip) {
  CListBox box(Item(kListBox));
  EXPECT_EQ(box.AddString("uno"), 0);
  EXPECT_EQ(box.AddString("dos"), 1);
  EXPECT_EQ(box.InsertString(0, "cero ñ"), 0);
  EXPECT_EQ(box.GetCount(), 3);
  EXPECT_EQ(box.GetText(0), "cero ñ");
  EXPECT_EQ(box.GetText(7), "");
  EXPECT_TRUE(box.SetItemData(2, 77));
  EXPECT_EQ(box.GetItemData(2), 77);
  EXPECT_EQ(box.GetCurSel(), LB_ERR);
  EXPECT_TRUE(box.SetCurSel(1));
  EXPECT_EQ(box.GetCurSel(), 1);
  EXPECT_TRUE(box.SetCurSel(-1));
  EXPECT_EQ(box.GetCurSel(), LB_ERR);
  EXPECT_EQ(box.FindStringExact("DOS"), 2);
  EXPECT_EQ(box.FindStringExact("tres"), LB_ERR);
  EXPECT_EQ(box.DeleteString(0), 2);
  box.ResetContent();
  EXPECT_EQ(box.GetCount(), 0);

  CTabCtrl tabs(Item(kTabs));
  EXPECT_EQ(tabs.InsertItem(0, "General", 11), 0);
  EXPECT_EQ(tabs.InsertItem(1, "Estilos", 22), 1);
  EXPECT_EQ(tabs.GetItemCount(), 2);
  EXPECT_EQ(tabs.GetItemText(1), "Estilos");
  EXPECT_EQ(tabs.GetItemData(1), 22);
  EXPECT_EQ(tabs.SetCurSel(1), 0);
  EXPECT_EQ(tabs.GetCurSel(), 1);
  const RECT display = tabs.GetDisplayRect();
  EXPECT_LT(display.left, display.right);
  EXPECT_TRUE(tabs.DeleteItem(0));
  EXPECT_EQ(tabs.GetItemText(0), "Estilos");
  EXPECT_TRUE(tabs.DeleteAllItems());
  EXPECT_EQ(tabs.GetItemCount(), 0);

  CProgressCtrl progress(Item(kProgress));
  progress.SetRange(0, 200000);
  int lower = -1;
  int upper = -1;
  progress.GetRange(lower, upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 200000);
  progress.SetPos(150000);
  EXPECT_EQ(progress.GetPos(), 150000);
  progress.SetStep(1000);
  EXPECT_EQ(progress.StepIt(), 150000);
  EXPECT_EQ(progress.GetPos(), 151000);

  CStatic label(Item(kLabel));
  EXPECT_EQ(label.GetWindowText(), "Etiqueta");
  EXPECT_TRUE(label.SetWindowText("Título: ñ"));
  EXPECT_EQ(label.GetWindowText(), "Título: ñ");
  CStatic icon(Item(kIcon));
  HICON shown = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION, shared
  icon.SetIcon(shown);
  EXPECT_EQ(icon.GetIcon(), shown);
}

}  // namespace
}  // namespace qm::fw
