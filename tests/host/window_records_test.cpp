#include "windows/window_records.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/text.h"
#include "common/tree_model.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

class WindowRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.desktop.AddProcess({100, 1, "editor.exe", {{0x400000, 0x1000, "C:\\Apps\\editor.exe"}}, {}, 0});
    // Created top first: each new window goes below the others.
    main = Add({.title = "Редактор — 東京", .style = WS_VISIBLE, .processId = 100, .threadId = 7});
    hidden = Add({.title = "Oculta", .style = 0, .processId = 100, .threadId = 7});
    unnamed = Add({.title = "", .style = WS_VISIBLE, .processId = 100, .threadId = 7});
    owned = Add({.title = "Propiedades", .style = WS_VISIBLE | WS_POPUP, .owner = main, .processId = 100});
    // Its process ended: the executable cannot be read.
    orphan = Add({.title = "Huérfana", .style = WS_VISIBLE | WS_DISABLED, .processId = 300, .threadId = 9});
  }
  struct MadeWindow {
    std::string title;
    uint32_t style = WS_VISIBLE;
    WindowHandle parent = 0;
    WindowHandle owner = 0;
    uint32_t processId = 100;
    uint32_t threadId = 7;
  };
  WindowHandle Add(const MadeWindow& made) {
    SimWindowDesc desc;
    desc.title = made.title;
    desc.style = made.style;
    desc.parent = made.parent;
    desc.owner = made.owner;
    desc.processId = made.processId;
    desc.threadId = made.threadId;
    desc.windowClass.name = made.parent ? "Button" : "Marco";
    desc.window = Rect{10, 20, 310, 220};
    return sim.desktop.AddWindow(desc);
  }
  std::vector<WindowRecord> Read(bool all, bool tree = false) {
    WindowRecordOptions options;
    if (all) options.filters = {true, true, true};
    options.tree = tree;
    return ReadWindowRecords(sim.platform, options);
  }
  static std::vector<WindowHandle> Handles(const std::vector<WindowRecord>& records) {
    std::vector<WindowHandle> handles;
    for (const auto& r : records) handles.push_back(r.handle);
    return handles;
  }
  static std::string H(WindowHandle window) { return Format("0x%08llX", static_cast<unsigned long long>(window)); }

  SimSystem sim;
  WindowHandle main = 0, hidden = 0, unnamed = 0, owned = 0, orphan = 0;
};

TEST_F(WindowRecordsTest, WithoutAllOnlyWhatTheWindowListShowsByDefault) {
  using V = std::vector<WindowHandle>;
  EXPECT_EQ(Handles(Read(false)), (V{main, orphan}));
  EXPECT_EQ(Handles(Read(true)), (V{main, hidden, unnamed, owned, orphan}));
  // A child is no top-level record, with or without --all.
  Add({.title = "Aceptar", .style = WS_VISIBLE | WS_CHILD, .parent = main});
  EXPECT_EQ(Read(true).size(), 5u);
}

TEST_F(WindowRecordsTest, RecordsCarryTheirFieldsAndEachProcessIsOpenedOnce) {
  sim.desktop.calls.clear();
  const auto records = Read(true);
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(sim.desktop.calls["OpenProcess"], 2) << "two processes behind five windows";
  const WindowRecord& editor = records[0];
  EXPECT_EQ(editor.title, "Редактор — 東京");
  EXPECT_EQ(editor.className, "Marco");
  EXPECT_EQ(editor.rect, (Rect{10, 20, 310, 220}));
  EXPECT_TRUE(editor.visible && editor.enabled);
  EXPECT_EQ(editor.processId, 100u);
  EXPECT_EQ(editor.threadId, 7u);
  EXPECT_EQ(editor.exePath, "C:\\Apps\\editor.exe");
  EXPECT_FALSE(records[1].visible);
  EXPECT_EQ(records[3].owner, main);
  EXPECT_EQ(records[3].parent, 0u) << "the owner is no parent";
  EXPECT_FALSE(records[4].enabled);
  EXPECT_FALSE(records[4].exePath) << "its process is gone";
  EXPECT_EQ(sim.desktop.OpenKernelHandles(), 0);
}

TEST_F(WindowRecordsTest, AWindowThatGoesAwayWhileReadIsLeftOut) {
  // The second window's rectangle cannot be read: it was destroyed.
  sim.desktop.FailCall("GetWindowRect", ERROR_INVALID_WINDOW_HANDLE, 1);
  EXPECT_EQ(Handles(Read(true)), (std::vector<WindowHandle>{main}));
  sim.desktop.ClearFailures();
  sim.desktop.FailCall("GetWindowThreadProcessId", ERROR_INVALID_WINDOW_HANDLE, 1);
  EXPECT_EQ(Read(true).size(), 1u);
}

TEST_F(WindowRecordsTest, JsonEscapesTitlesAndNamesAGoneProcessNull) {
  sim.desktop.SetWindowText(main, "a\"b\\c\td\x01\xED\xA0\x80z");
  const std::string expected =
      "[\n"
      "{\"handle\":\"" +
      H(main) +
      "\",\"parent\":\"0x0\",\"owner\":\"0x0\",\"class\":\"Marco\","
      "\"title\":\"a\\\"b\\\\c\\td\\u0001\xEF\xBF\xBDz\",\"rect\":{\"left\":10,\"top\":20,\"right\":310,"
      "\"bottom\":220},\"style\":268435456,\"exstyle\":0,\"visible\":true,\"enabled\":true,\"pid\":100,\"tid\":7,"
      "\"exe\":\"C:\\\\Apps\\\\editor.exe\"},\n"
      "{\"handle\":\"" +
      H(orphan) +
      "\",\"parent\":\"0x0\",\"owner\":\"0x0\",\"class\":\"Marco\","
      "\"title\":\"Hu\xC3\xA9rfana\",\"rect\":{\"left\":10,\"top\":20,\"right\":310,\"bottom\":220},"
      "\"style\":402653184,\"exstyle\":0,\"visible\":true,\"enabled\":false,\"pid\":300,\"tid\":9,\"exe\":null}\n"
      "]\n";
  std::ostringstream out;
  WriteWindowRecordsJson(out, Read(false), false);
  EXPECT_EQ(out.str(), expected);
  std::ostringstream empty;
  WriteWindowRecordsJson(empty, {}, true);
  EXPECT_EQ(empty.str(), "[]\n");
}

TEST_F(WindowRecordsTest, TheTreeNestsChildrenUnderTheirParents) {
  const WindowHandle panel = Add({.title = "Panel", .style = WS_VISIBLE | WS_CHILD, .parent = main});
  const WindowHandle button = Add({.title = "Aceptar", .style = WS_VISIBLE | WS_CHILD, .parent = panel});
  const WindowHandle off = Add({.title = "Oculto", .style = WS_CHILD, .parent = panel});
  const WindowHandle status = Add({.title = "Estado", .style = WS_VISIBLE | WS_CHILD, .parent = main});
  // Under a hidden top-level window nothing is visible.
  const WindowHandle under = Add({.title = "Dentro", .style = WS_VISIBLE | WS_CHILD, .parent = hidden});
  const auto records = Read(true, true);
  using V = std::vector<WindowHandle>;
  ASSERT_EQ(Handles(records), (V{main, panel, button, off, status, hidden, under, unnamed, owned, orphan}));
  std::vector<int> depths;
  for (const auto& r : records) depths.push_back(r.depth);
  EXPECT_EQ(depths, (std::vector<int>{0, 1, 2, 2, 1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(records[2].parent, panel);
  EXPECT_EQ(records[4].parent, main);
  EXPECT_TRUE(records[2].visible);
  EXPECT_FALSE(records[3].visible);
  EXPECT_FALSE(records[6].visible) << "its parent is hidden";
  EXPECT_EQ(records[2].exePath, "C:\\Apps\\editor.exe");

  // Only the shape of the JSON: handles, and where each children array
  // opens and closes.
  std::vector<WindowRecord> shape;
  for (const auto& r : records)
    if (r.depth > 0 || r.handle == main || r.handle == hidden) {
      WindowRecord bare;
      bare.handle = r.handle;
      bare.depth = r.depth;
      shape.push_back(bare);
    }
  std::ostringstream out;
  WriteWindowRecordsJson(out, shape, true);
  std::string compact;
  for (size_t at = 0; (at = out.str().find("\"handle\":", at)) != std::string::npos; ++at)
    compact += out.str().substr(at + 10, 10) + " ";
  EXPECT_EQ(compact, H(main) + " " + H(panel) + " " + H(button) + " " + H(off) + " " + H(status) + " " + H(hidden) +
                         " " + H(under) + " ");
  std::string brackets;
  for (char c : out.str())
    if (c == '[' || c == ']' || c == '{' || c == '}') brackets += c;
  // Each record holds a rect object and a children array.
  const std::string leaf = "{{}[]}";
  EXPECT_EQ(brackets, "[{{}[{{}[" + leaf + leaf + "]}" + leaf + "]}{{}[" + leaf + "]}]");
  EXPECT_EQ(out.str().find("},\n{"), out.str().rfind("},\n{")) << "one line per top-level window";

  std::ostringstream text;
  WriteWindowRecordsText(text, Read(false, true));
  std::istringstream lines(text.str());
  std::string line;
  std::vector<std::string> starts;
  while (std::getline(lines, line)) starts.push_back(line.substr(0, line.find('\t')));
  EXPECT_EQ(starts, (std::vector<std::string>{H(main), "  " + H(panel), "    " + H(button), "    " + H(off),
                                              "  " + H(status), H(orphan)}));
}

TEST_F(WindowRecordsTest, TextKeepsEachWindowOnOneLine) {
  sim.desktop.SetWindowText(main, "dos\nlíneas\ty tab");
  std::ostringstream text;
  WriteWindowRecordsText(text, Read(false));
  EXPECT_EQ(text.str(),
            H(main) +
                "\t0x0\t0x0\tMarco\tdos líneas y tab\t10,20,310,220\t0x10000000\t0x00000000\tvisible\t"
                "enabled\t100\t7\tC:\\Apps\\editor.exe\n" +
                H(orphan) +
                "\t0x0\t0x0\tMarco\tHuérfana\t10,20,310,220\t0x18000000\t0x00000000\tvisible\tdisabled\t300\t"
                "9\t-\n");
}

TEST(JsonString, MakesAnyBytesValidJson) {
  EXPECT_EQ(JsonString("Ελληνικά 😀"), "\"Ελληνικά 😀\"");
  // A lone surrogate, a stray continuation byte, an overlong NUL, a
  // truncated sequence and a value past U+10FFFF.
  EXPECT_EQ(JsonString("a\xED\xB0\x80"
                       "b"),
            "\"a\xEF\xBF\xBD"
            "b\"");
  EXPECT_EQ(JsonString("\x80"), "\"\xEF\xBF\xBD\"");
  EXPECT_EQ(JsonString("\xC0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
  EXPECT_EQ(JsonString("\xE6\x9D"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
  EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
  EXPECT_EQ(JsonString("\x7F\x1F\n"), "\"\x7F\\u001f\\n\"");
  EXPECT_EQ(JsonHandle(0), "\"0x0\"");
  EXPECT_EQ(JsonHandle(0x1A2B), "\"0x00001A2B\"");
  EXPECT_EQ(JsonHandle(0x123456789AULL), "\"0x123456789A\"");
}

}  // namespace
}  // namespace qm
