#include "windows/window_search.h"

#include <gtest/gtest.h>

#include "common/case_fold.h"
#include "platform/sim/sim_system.h"
#include "res/string_ids.h"
#include "windows/window_actions.h"

namespace qm {
namespace {

TEST(CaseFold, FoldsEveryScriptOneCharacterAtATime) {
  EXPECT_EQ(SimpleCaseFold("Editor DE Texto"), "editor de texto");
  EXPECT_EQ(SimpleCaseFold("ÉCOLE ÀÑÜ"), "école àñü");
  EXPECT_EQ(SimpleCaseFold("ΩΜΈΓΑ ΣΟΦΌΣ"), "ωμέγα σοφόσ") << "final sigma folds as sigma";
  EXPECT_EQ(SimpleCaseFold("σοφός"), "σοφόσ");
  EXPECT_EQ(SimpleCaseFold("ЖУРНАЛ Ёлка"), "журнал ёлка");
  EXPECT_EQ(SimpleCaseFold("ԱՐԵՎ"), "արեվ");
  EXPECT_EQ(SimpleCaseFold("ＡＢＣ"), "ａｂｃ") << "full-width forms";
  EXPECT_EQ(SimpleCaseFold("\xF0\x90\x90\x80"), "\xF0\x90\x90\xA8") << "Deseret, outside the BMP";
  // Runs in which every other character moves: Latin Extended-A.
  EXPECT_EQ(SimpleCaseFold("ĀāĂ"), "āāă");
  // Kelvin sign and long s fold to their ASCII letters.
  EXPECT_EQ(SimpleCaseFold("\xE2\x84\xAA\xC5\xBF"), "ks");
  // Already folded, unchanged: CJK, digits, symbols.
  EXPECT_EQ(SimpleCaseFold("漢字 123 ½"), "漢字 123 ½");
  EXPECT_EQ(SimpleCaseFold(std::string_view("A\xFFZ", 3)), "a\xEF\xBF\xBDz") << "invalid UTF-8 as U+FFFD";
  EXPECT_EQ(SimpleCaseFold(U'Ж'), U'ж');
  EXPECT_EQ(SimpleCaseFold(U'\U0010FFFF'), U'\U0010FFFF');
}

TEST(SearchWords, SplitAtAnyWhiteSpace) {
  using W = std::vector<std::string>;
  EXPECT_EQ(SearchWords(""), W{});
  EXPECT_EQ(SearchWords("  \t "), W{});
  EXPECT_EQ(SearchWords(" bloc  de\tnotas "), (W{"bloc", "de", "notas"}));
  EXPECT_EQ(SearchWords("uno\xC2\xA0"
                        "dos\xE3\x80\x80tres"),
            (W{"uno", "dos", "tres"}));
}

// A locale that counts what it folds.
class CountingLocale : public SimLocale {
 public:
  std::string LCMapLowerCase(const std::string& text) const override {
    ++calls;
    return SimLocale::LCMapLowerCase(text);
  }
  mutable int calls = 0;
};

class WindowSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.desktop.AddProcess({100, 1, "Editor.exe", {{0x400000, 0x1000, "C:\\Apps\\Editor.exe"}}, {}, 0});
    sim.desktop.AddProcess({200, 1, "consola.exe", {{0x400000, 0x1000, "C:\\consola.exe"}}, {}, 0});
    editor = Add(0x000104A2, "Documento — Editor", "EditorFrame", 100, WS_VISIBLE);
    console = Add(0x00A0B0C0, "Консоль ЖУРНАЛ", "ConsoleWindowClass", 200, WS_VISIBLE);
    greek = Add(0x00000410, "ΣΗΜΕΙΏΣΕΙΣ", "Notas", 100, WS_VISIBLE);
    hidden = Add(0x00000420, "Editor oculto", "EditorFrame", 100, 0);
  }
  WindowHandle Add(WindowHandle handle, std::string title, std::string className, uint32_t pid, uint32_t style) {
    SimWindowDesc desc;
    desc.handle = handle;
    desc.title = std::move(title);
    desc.windowClass.name = std::move(className);
    desc.processId = pid;
    desc.style = style;
    return sim.desktop.AddWindow(desc);
  }
  std::vector<WindowHandle> Find(CWindowSearch& search, std::string_view text) {
    std::vector<WindowHandle> found;
    for (size_t row : search.Matches(text)) found.push_back(search.Rows()[row].window);
    return found;
  }

  SimSystem sim;
  CountingLocale locale;
  WindowHandle editor = 0, console = 0, greek = 0, hidden = 0;
};

using H = std::vector<WindowHandle>;

TEST_F(WindowSearchTest, EveryWordMustMatchSomewhereInTheRowIgnoringCaseInAnyScript) {
  CWindowSearch search(locale, FillWindowList(sim.platform, {}));
  EXPECT_EQ(Find(search, ""), (H{editor, console, greek})) << "no words: every row, in order";
  EXPECT_EQ(Find(search, "editor"), (H{editor, greek})) << "title, class or executable";
  EXPECT_EQ(Find(search, "EDITOR.EXE documento"), (H{editor})) << "executable and title, two words";
  EXPECT_EQ(Find(search, "documento notas"), (H{})) << "each word must match the same row";
  EXPECT_EQ(Find(search, "notas editor.exe"), (H{greek})) << "class and executable";
  EXPECT_EQ(Find(search, "журнал"), (H{console}));
  EXPECT_EQ(Find(search, "консоль CONSOLA"), (H{console}));
  EXPECT_EQ(Find(search, "σημειώσεις"), (H{greek})) << "final sigma folded as the locale does";
  EXPECT_EQ(Find(search, "windowclass"), (H{console})) << "inside the class name";
  EXPECT_EQ(Find(search, "oculto"), (H{})) << "the filters still apply: a hidden window is no row";
  EXPECT_EQ(Find(search, "—"), (H{editor}));
  // A word never spans two texts of the row.
  EXPECT_EQ(Find(search, "editorframe\neditor"), (H{editor}));
  EXPECT_EQ(Find(search, "frameeditor"), (H{}));
}

TEST_F(WindowSearchTest, TheHandleMatchesFromItsStartWithOrWithoutPrefixAndZeros) {
  CWindowSearch search(locale, FillWindowList(sim.platform, {true, false, false}));
  EXPECT_EQ(Find(search, "0x000104a2"), (H{editor}));
  EXPECT_EQ(Find(search, "0X000104A2"), (H{editor})) << "hex in either case";
  EXPECT_EQ(Find(search, "000104"), (H{editor})) << "without 0x";
  EXPECT_EQ(Find(search, "104a2"), (H{editor})) << "without the leading zeros";
  EXPECT_EQ(Find(search, "0x104A"), (H{editor}));
  EXPECT_EQ(Find(search, "04a2"), (H{})) << "never from the middle";
  EXPECT_EQ(Find(search, "a0b"), (H{console}));
  EXPECT_EQ(Find(search, "0x000004"), (H{greek, hidden}));
  EXPECT_EQ(Find(search, "4"), (H{greek, hidden}));
  EXPECT_EQ(Find(search, "41"), (H{greek}));
  EXPECT_EQ(Find(search, "42 oculto"), (H{hidden})) << "handle and title, two words";
}

TEST_F(WindowSearchTest, TextsAreFoldedOnceAndEachKeystrokeFoldsOnlyItsWords) {
  CWindowSearch search(locale, FillWindowList(sim.platform, {true, true, true}));
  search.Matches("");
  EXPECT_EQ(locale.calls, 0) << "nothing folded until the user searches";
  search.Matches("e");
  EXPECT_EQ(locale.calls, 4 + 1) << "one call per row, one per word";
  search.Matches("ed   it");
  EXPECT_EQ(locale.calls, 5 + 2);
  const auto calls = sim.desktop.calls;
  search.Matches("editor");
  EXPECT_EQ(sim.desktop.calls, calls) << "the rows already read: the desktop is not asked again";
}

TEST_F(WindowSearchTest, ASortPutsTheHiddenRowsInOrderToo) {
  CWindowSearch search(locale, FillWindowList(sim.platform, {true, false, false}));
  search.Matches("e");  // folded before the sort: the folded texts move with their rows
  // By class, descending; the two EditorFrame rows keep their order.
  search.Sort([](const WindowListRow& a, const WindowListRow& b) { return a.texts[2] > b.texts[2]; });
  EXPECT_EQ(Find(search, ""), (H{greek, editor, hidden, console}));
  EXPECT_EQ(Find(search, "editorframe"), (H{editor, hidden}));
  EXPECT_EQ(Find(search, "notas"), (H{greek}));
  EXPECT_EQ(Find(search, "0xa0"), (H{console}));
  // Each window's row, found wherever the sort put it.
  for (WindowHandle window : {editor, console, greek, hidden}) {
    ASSERT_NE(search.Find(window), nullptr);
    EXPECT_EQ(search.Find(window)->window, window);
  }
  EXPECT_EQ(search.Find(console)->texts[1], "Консоль ЖУРНАЛ");
  EXPECT_EQ(search.Find(0x1234), nullptr);
  // A window hidden since the fill keeps its row, with the new image.
  search.SetImage(editor, kImageWindowHidden);
  EXPECT_EQ(search.Rows()[1].image, kImageWindowHidden);
  EXPECT_EQ(search.Rows()[3].image, kImageWindowVisible);
}

TEST(WindowCountText, NamesTheAllowedRowsOnlyWhileSearching) {
  SimStrings strings;
  EXPECT_EQ(WindowCountText(strings, 12, 12, false), "12 ventana(s) obtenida(s)");
  EXPECT_EQ(WindowCountText(strings, 3, 12, true), "3 de 12 ventana(s)");
  EXPECT_EQ(WindowCountText(strings, 0, 2000, true), "0 de 2000 ventana(s)");
}

}  // namespace
}  // namespace qm
