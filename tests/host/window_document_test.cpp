#include <gtest/gtest.h>

#include "app/quillmar_doc.h"
#include "app/window_format.h"
#include "platform/sim/sim_system.h"
#include "processes/process_info.h"

namespace qm {
namespace {

class WindowDocument : public ::testing::Test {
 protected:
  void SetUp() override { CProcessApi::ResetLibraryLoadReports(); }

  // A top-level frame of process 1234 with an owned pop-up and a button.
  void BuildDesktop() {
    SimProcess process;
    process.id = 1234;
    process.exeFile = "editor.exe";
    process.modules = {{0x400000, 0x10000, "C:\\Archivos de programa\\Редактор\\editor.exe"}};
    process.threads = {{77}};
    sim.desktop.AddProcess(process);

    SimWindowDesc frameSpec;
    frameSpec.windowClass.name = "EditorFrame";
    frameSpec.windowClass.style = 0x0003;
    frameSpec.windowClass.cursor = 0x10003;
    frameSpec.windowClass.background = 6;
    frameSpec.windowClass.icon = 0x2004a;
    frameSpec.windowClass.smallIcon = 0;  // a class without a small icon
    frameSpec.windowClass.menuName = 0x80;
    frameSpec.windowClass.wndProc = 0x7ff612340000;
    frameSpec.title = "Ventana ñ — Окно 窗口 😀";
    frameSpec.style = 0x14CF0000;  // visible, clip siblings, overlapped window
    frameSpec.exStyle = 0x00000100;
    frameSpec.window = {10, 20, 110, 220};
    frameSpec.client = {0, 0, 84, 160};
    frameSpec.menu = 0x3001c;
    frameSpec.hInstance = 0x400000;
    frameSpec.id = 0;
    frameSpec.processId = 1234;
    frameSpec.threadId = 77;
    frame = sim.desktop.AddWindow(frameSpec);

    SimWindowDesc popupSpec;
    popupSpec.style = WS_POPUP | WS_VISIBLE;
    popupSpec.owner = frame;
    popupSpec.window = {-50, -40, 30, 60};
    popupSpec.processId = 1234;
    popup = sim.desktop.AddWindow(popupSpec);

    SimWindowDesc buttonSpec;
    buttonSpec.windowClass.name = "Button";
    buttonSpec.style = WS_CHILD | WS_VISIBLE | WS_DISABLED;
    buttonSpec.parent = frame;
    buttonSpec.id = 1001;
    buttonSpec.window = {20, 30, 60, 50};
    buttonSpec.processId = 1234;
    button = sim.desktop.AddWindow(buttonSpec);
  }

  const WindowProperty& Refresh(WindowHandle h, int index) {
    doc.m_hCapturedWnd = h;
    doc.RefreshProperties();
    return doc.m_properties[static_cast<size_t>(index)];
  }

  SimSystem sim;
  CQuillmarDoc doc{sim.platform};
  WindowHandle frame = 0, popup = 0, button = 0;
};

TEST_F(WindowDocument, StartsEmptyAndWithoutACaptureShowsNullAndNo) {
  ASSERT_EQ(doc.GetPropertyCount(), 29);
  for (const auto& p : doc.m_properties) {
    EXPECT_TRUE(p.name.empty());
    EXPECT_EQ(p.raw, 0u);
  }
  doc.RefreshProperties();
  EXPECT_EQ(doc.m_properties[0].name, "HWND");
  EXPECT_EQ(doc.m_properties[0].value, "NULL");
  EXPECT_EQ(doc.m_properties[1].value, "No");
  // Labels skip string 4115.
  EXPECT_EQ(doc.m_properties[9].name, "Rectángulo de cliente");
  EXPECT_EQ(doc.m_properties[10].name, "Estilo de la ventana");
  EXPECT_EQ(doc.m_properties[28].name, "Identificador del proceso");
  for (int i = 2; i < 29; ++i) {
    EXPECT_EQ(doc.m_properties[static_cast<size_t>(i)].value, "") << i;
    EXPECT_FALSE(doc.m_properties[static_cast<size_t>(i)].name.empty()) << i;
  }
}

TEST_F(WindowDocument, ReadsEveryPropertyOfATopLevelWindow) {
  BuildDesktop();
  doc.m_hCapturedWnd = frame;
  doc.RefreshProperties();
  const auto& p = doc.m_properties;
  EXPECT_EQ(p[0].value, FormatHandle(frame));
  EXPECT_EQ(p[1].value, "Sí");
  EXPECT_EQ(p[2].value, "Sí");
  EXPECT_EQ(p[2].raw, 1u);
  EXPECT_EQ(p[4].value, "No");
  EXPECT_EQ(p[4].raw, 0u);
  EXPECT_EQ(p[6].value, "EditorFrame");
  EXPECT_EQ(p[7].value, "Ventana ñ — Окно 窗口 😀");  // the surrogate pair counts twice and survives
  EXPECT_EQ(p[8].value, "izquierda=10, arriba=20, derecha=110, abajo=220");
  EXPECT_EQ(p[9].value, "izquierda=0, arriba=0, derecha=84, abajo=160");
  EXPECT_EQ(p[10].value, "[0x14cf0000]");
  EXPECT_EQ(p[10].raw, 0x14CF0000u);
  EXPECT_EQ(p[11].value, "[0x00000100]");
  EXPECT_EQ(p[12].value, "[0x7ff612340000]");  // a 64-bit value takes the digits it needs
  EXPECT_EQ(p[13].value, "[0x00400000]");
  EXPECT_EQ(p[14].value, "NULL");  // identifier 0
  EXPECT_EQ(p[15].value, "NULL");
  EXPECT_EQ(p[16].value, "NULL");  // an overlapped window has no parent
  EXPECT_EQ(p[17].raw, popup);     // next lower in Z order
  EXPECT_EQ(p[18].value, "NULL");
  EXPECT_EQ(p[19].value, "[0x0003001c]");
  EXPECT_EQ(p[20].value, "[0x00000003]");
  EXPECT_EQ(p[23].value, "[0x0002004a]");
  EXPECT_EQ(p[24].value, "NULL");  // no small icon
  EXPECT_EQ(p[25].raw, 0x80u);
  EXPECT_EQ(p[26].raw, 0x7ff612340000u);
  EXPECT_EQ(p[27].value, "C:\\Archivos de programa\\Редактор\\editor.exe");
  EXPECT_EQ(p[28].value, "1234 (0x000004d2)");
  EXPECT_EQ(p[28].raw, 1234u);
}

TEST_F(WindowDocument, RelationsOfAnOwnedPopupAndAChildControl) {
  BuildDesktop();
  EXPECT_EQ(Refresh(popup, 15).raw, frame);    // owner
  EXPECT_EQ(doc.m_properties[16].raw, frame);  // a pop-up's parent is its owner
  EXPECT_EQ(doc.m_properties[8].value, "izquierda=-50, arriba=-40, derecha=30, abajo=60");
  EXPECT_EQ(doc.m_properties[18].raw, frame);  // next higher in Z order

  EXPECT_EQ(Refresh(button, 16).raw, frame);
  EXPECT_EQ(doc.m_properties[15].value, "NULL");  // a child has no owner
  EXPECT_EQ(doc.m_properties[14].value, "[0x000003e9]");
  EXPECT_EQ(doc.m_properties[2].value, "No");
  EXPECT_EQ(doc.m_properties[19].value, "NULL");
}

TEST_F(WindowDocument, AVanishedWindowLeavesOnlyItsHandleAndNo) {
  BuildDesktop();
  Refresh(frame, 0);
  ASSERT_NE(doc.m_properties[10].raw, 0u);
  sim.desktop.DestroyWindow(frame);
  ASSERT_FALSE(sim.desktop.IsWindow(button));  // children and owned windows go with it
  ASSERT_FALSE(sim.desktop.IsWindow(popup));
  EXPECT_EQ(Refresh(frame, 0).value, FormatHandle(frame));
  EXPECT_EQ(doc.m_properties[1].value, "No");
  for (int i = 2; i < 29; ++i) {
    EXPECT_EQ(doc.m_properties[static_cast<size_t>(i)].value, "") << i;
    EXPECT_EQ(doc.m_properties[static_cast<size_t>(i)].raw, 0u) << i;
  }
}

TEST_F(WindowDocument, AFailedProcessLookupLeavesThePathEmptyButKeepsTheId) {
  BuildDesktop();
  sim.desktop.FindProcess(1234)->openError = ERROR_ACCESS_DENIED;
  EXPECT_EQ(Refresh(frame, 27).value, "");
  EXPECT_EQ(doc.m_properties[28].value, "1234 (0x000004d2)");
  EXPECT_TRUE(sim.messageBox.shown.empty());
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
  EXPECT_EQ(sim.desktop.LoadedLibraries(), 0);
}

TEST_F(WindowDocument, ARectangleThatCannotBeReadShowsEmptyNotStale) {
  BuildDesktop();
  Refresh(frame, 8);
  sim.desktop.FailCall("GetWindowRect", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Refresh(frame, 8).value, "");
  EXPECT_EQ(doc.m_properties[9].value, "izquierda=0, arriba=0, derecha=84, abajo=160");
}

TEST(WindowFormat, HandlesAndRectangles) {
  EXPECT_EQ(FormatHandle(0), "NULL");
  EXPECT_EQ(FormatHandle(0x1), "[0x00000001]");
  EXPECT_EQ(FormatHandle(0xFFFFFFFFu), "[0xffffffff]");
  EXPECT_EQ(FormatHandle(0x100000000ull), "[0x100000000]");
  SimStrings strings;
  EXPECT_EQ(FormatRect(strings, Rect{-2147483647 - 1, -5, 0, 2147483647}),
            "izquierda=-2147483648, arriba=-5, derecha=0, abajo=2147483647");
}

}  // namespace
}  // namespace qm
