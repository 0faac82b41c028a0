#include "windows/find_window.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

TEST(FindWindowInput, HandlesAndProcessIdsAreReadOnlyWhenWellFormed) {
  EXPECT_EQ(ParseWindowHandle("0x000104A2"), WindowHandle{0x104A2});
  EXPECT_EQ(ParseWindowHandle("104a2"), WindowHandle{0x104A2});
  EXPECT_EQ(ParseWindowHandle(" [0x000104a2] "), WindowHandle{0x104A2}) << "as the property tree shows it";
  EXPECT_EQ(ParseWindowHandle("0XFFFFFFFFFFFFFFFF"), WindowHandle{UINT64_MAX});
  for (const char* bad :
       {"", "   ", "0x", "0", "0x0000", "12g4", "0x-12", "1 2", "[]", "0x10000000000000000", "ventana"})
    EXPECT_FALSE(ParseWindowHandle(bad)) << bad;

  EXPECT_EQ(ParseProcessId("1234"), 1234u);
  EXPECT_EQ(ParseProcessId(" 0x4d2 "), 1234u) << "as the window list writes it in brackets";
  EXPECT_EQ(ParseProcessId("4294967295"), UINT32_MAX);
  EXPECT_EQ(ParseProcessId("0"), 0u);
  for (const char* bad : {"", "4294967296", "0x100000000", "12a", "-5", "0x", "1.5"})
    EXPECT_FALSE(ParseProcessId(bad)) << bad;
}

class FindWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Created top first: each new top-level window goes below the others.
    editor = Add(0x000104A2, "Documento — Editor", "EditorFrame", 100, WS_VISIBLE);
    button = Add(0x000104B0, "Aceptar", "Button", 100, WS_VISIBLE | WS_CHILD, editor);
    edit = Add(0x000104B4, "", "Edit", 100, WS_VISIBLE | WS_CHILD, editor);
    console = Add(0x00A0B0C0, "Консоль ЖУРНАЛ", "ConsoleWindowClass", 200, WS_VISIBLE);
    hidden = Add(0x00000420, "Editor oculto", "EditorFrame", 100, 0);
  }
  WindowHandle Add(WindowHandle handle, std::string title, std::string className, uint32_t pid, uint32_t style,
                   WindowHandle parent = 0) {
    SimWindowDesc desc;
    desc.handle = handle;
    desc.title = std::move(title);
    desc.windowClass.name = std::move(className);
    desc.processId = pid;
    desc.style = style;
    desc.parent = parent;
    return sim.desktop.AddWindow(desc);
  }
  std::vector<WindowHandle> Find(FindWindowBy by, std::string text, bool exact = false) {
    const FindWindowOutcome outcome = FindWindows(sim.platform, {by, std::move(text), exact});
    EXPECT_EQ(outcome.malformed, "");
    std::vector<WindowHandle> found;
    for (const FoundWindow& match : outcome.matches) found.push_back(match.window);
    return found;
  }
  using H = std::vector<WindowHandle>;

  SimSystem sim;
  WindowHandle editor = 0, button = 0, edit = 0, console = 0, hidden = 0;
};

TEST_F(FindWindowTest, AHandleNamesAnyWindowAndEachMatchCarriesWhatTheListShows) {
  const FindWindowOutcome outcome = FindWindows(sim.platform, {FindWindowBy::Handle, "104b0", false});
  ASSERT_EQ(outcome.matches.size(), 1u);
  const FoundWindow& found = outcome.matches[0];
  EXPECT_EQ(found.window, button) << "a child window too";
  EXPECT_EQ(found.className, "Button");
  EXPECT_EQ(found.title, "Aceptar");
  EXPECT_EQ(found.processId, 100u);
  EXPECT_EQ(Find(FindWindowBy::Handle, "0x00000420"), H{hidden}) << "hidden windows too";
  EXPECT_EQ(Find(FindWindowBy::Handle, "0x00000999"), H{});

  // A destroyed window is no longer found by the handle it had.
  sim.desktop.DestroyWindow(button);
  EXPECT_EQ(Find(FindWindowBy::Handle, "0x000104b0"), H{});
}

TEST_F(FindWindowTest, TitlesAndClassesMatchInPartOrWholeIgnoringCaseInAnyScriptDescendantsIncluded) {
  // Z order, each top-level window followed by its descendants.
  EXPECT_EQ(Find(FindWindowBy::Title, "editor"), (H{editor, hidden}));
  EXPECT_EQ(Find(FindWindowBy::Title, "журнал"), H{console}) << "Cyrillic folded";
  EXPECT_EQ(Find(FindWindowBy::Title, "ACEPTAR", true), H{button}) << "a child by its whole title";
  EXPECT_EQ(Find(FindWindowBy::Title, "Acepta", true), H{}) << "exact: a part is not enough";
  EXPECT_EQ(Find(FindWindowBy::Title, "", true), H{edit}) << "exact empty: the windows without a title";
  EXPECT_EQ(Find(FindWindowBy::Class, "editorframe", true), (H{editor, hidden}));
  EXPECT_EQ(Find(FindWindowBy::Class, "Frame"), (H{editor, hidden}));
  EXPECT_EQ(Find(FindWindowBy::Class, "Frame", true), H{});
  EXPECT_EQ(Find(FindWindowBy::Class, "T"), (H{editor, button, edit, hidden}));
  EXPECT_EQ(Find(FindWindowBy::Class, "butt"), H{button}) << "the title is not the class";
  EXPECT_EQ(Find(FindWindowBy::Title, "button"), H{}) << "nor the class the title";
}

TEST_F(FindWindowTest, TheAskingDialogAndItsControlsAreNotSearched) {
  // The dialog's edit box holds the text searched.
  const WindowHandle dialog = Add(0x00000500, "Buscar ventana", "#32770", 100, WS_VISIBLE);
  const WindowHandle box = Add(0x00000504, "Aceptar", "Edit", 100, WS_VISIBLE | WS_CHILD, dialog);
  const auto find = [&](FindWindowBy by, std::string text) {
    H found;
    for (const FoundWindow& match : FindWindows(sim.platform, {by, std::move(text), false}, dialog).matches)
      found.push_back(match.window);
    return found;
  };
  EXPECT_EQ(find(FindWindowBy::Title, "aceptar"), H{button});
  EXPECT_EQ(find(FindWindowBy::ProcessId, "100"), (H{editor, hidden}));
  EXPECT_EQ(Find(FindWindowBy::Title, "aceptar"), (H{button, box})) << "without an asker, every window";
}

TEST_F(FindWindowTest, AProcessIdGivesItsTopLevelWindowsHiddenOnesToo) {
  EXPECT_EQ(Find(FindWindowBy::ProcessId, "100"), (H{editor, hidden}));
  EXPECT_EQ(Find(FindWindowBy::ProcessId, "0xc8"), H{console});
  EXPECT_EQ(Find(FindWindowBy::ProcessId, "300"), H{});
}

TEST_F(FindWindowTest, AMalformedHandleOrProcessIdIsToldAndNothingIsSearched) {
  // The walks ask IsWindow of each window; nothing at all is asked here.
  const auto asked = [&] { return sim.desktop.calls; };
  const auto before = asked();
  FindWindowOutcome outcome = FindWindows(sim.platform, {FindWindowBy::Handle, "0x12G4", false});
  EXPECT_TRUE(outcome.matches.empty());
  EXPECT_EQ(outcome.malformed,
            "\"0x12G4\" no es un handle de ventana\nEscriba el handle en hexadecimal, con o sin 0x (por ejemplo "
            "0x000104a2)");
  outcome = FindWindows(sim.platform, {FindWindowBy::ProcessId, "editor", false});
  EXPECT_TRUE(outcome.matches.empty());
  EXPECT_EQ(outcome.malformed.substr(0, 49), "\"editor\" no es un identificador de proceso (PID)\n");
  EXPECT_EQ(asked(), before) << "no window was asked anything";
  EXPECT_FALSE(FindWindows(sim.platform, {FindWindowBy::ProcessId, "100", false}).matches.empty());
  EXPECT_NE(asked(), before) << "a search does ask";
}

TEST_F(FindWindowTest, NothingFoundNamesWhatWasSearched) {
  const auto text = [&](FindWindowBy by, std::string what, bool exact = false) {
    return NothingFoundText(sim.strings, {by, std::move(what), exact});
  };
  EXPECT_EQ(text(FindWindowBy::Handle, " 999 "), "No hay ninguna ventana con el handle 0x00000999");
  EXPECT_EQ(text(FindWindowBy::ProcessId, "300"), "El proceso 300 (0x12c) no tiene ninguna ventana");
  EXPECT_EQ(text(FindWindowBy::Title, "Informe"), "Ninguna ventana tiene un título que contenga \"Informe\"");
  EXPECT_EQ(text(FindWindowBy::Title, "Informe", true), "Ninguna ventana tiene el título \"Informe\"");
  EXPECT_EQ(text(FindWindowBy::Class, "Grid"), "Ninguna ventana es de una clase cuyo nombre contenga \"Grid\"");
  EXPECT_EQ(text(FindWindowBy::Class, "Grid", true), "Ninguna ventana es de la clase \"Grid\"");
}

}  // namespace
}  // namespace qm
