#include "app/window_properties_json.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string_view>

#include "common/text.h"
#include "platform/sim/sim_system.h"
#include "processes/process_info.h"

namespace qm {
namespace {

class WindowPropertiesJson : public ::testing::Test {
 protected:
  void SetUp() override {
    CProcessApi::ResetLibraryLoadReports();
    SimProcess process;
    process.id = 1234;
    process.exeFile = "editor.exe";
    process.modules = {{0x400000, 0x10000, "C:\\Программы\\editor.exe"}};
    sim.desktop.AddProcess(process);
    SimWindowDesc frameSpec;
    frameSpec.windowClass.name = "EditorFrame";
    frameSpec.windowClass.style = 0x0003;
    frameSpec.windowClass.cursor = 0x10003;
    frameSpec.windowClass.wndProc = 0x7ff612340000;
    frameSpec.title = "Окно \"1\"";
    frameSpec.style = 0x14CF0000;
    frameSpec.exStyle = 0x00000100;
    frameSpec.window = {10, 20, 110, 220};
    frameSpec.client = {0, 0, 84, 160};
    frameSpec.menu = 0x3001c;
    frameSpec.processId = 1234;
    frame = sim.desktop.AddWindow(frameSpec);
    SimWindowDesc buttonSpec;
    buttonSpec.windowClass.name = "Button";
    buttonSpec.style = WS_CHILD | WS_VISIBLE | WS_DISABLED;
    buttonSpec.parent = frame;
    buttonSpec.id = 1001;
    buttonSpec.window = {-20, 30, 60, 50};
    buttonSpec.processId = 4321;  // its process has ended
    button = sim.desktop.AddWindow(buttonSpec);
  }
  std::string Json(WindowHandle window) {
    doc.m_hCapturedWnd = window;
    doc.RefreshProperties();
    std::ostringstream out;
    WriteWindowPropertiesJson(out, doc);
    return out.str();
  }
  // The JSON text of one member, up to the next member.
  static std::string Member(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    const size_t at = json.find(key);
    if (at == std::string::npos) return "(missing)";
    size_t end = at + key.size();
    int nesting = 0;
    bool inString = false;
    for (; end < json.size(); ++end) {
      const char c = json[end];
      if (inString) {
        if (c == '\\')
          ++end;
        else if (c == '"')
          inString = false;
      } else if (c == '"') {
        inString = true;
      } else if (c == '{') {
        ++nesting;
      } else if ((c == ',' || c == '}') && nesting == 0) {
        break;
      } else if (c == '}') {
        --nesting;
      }
    }
    return json.substr(at + key.size(), end - at - key.size());
  }
  static std::string H(uint64_t value) { return Format("\"0x%08llX\"", static_cast<unsigned long long>(value)); }

  SimSystem sim;
  CQuillmarDoc doc{sim.platform};
  WindowHandle frame = 0, button = 0;
};

TEST_F(WindowPropertiesJson, TwentyNineDistinctIdentifiers) {
  std::set<std::string> names(kPropertyJsonNames.begin(), kPropertyJsonNames.end());
  EXPECT_EQ(names.size(), 29u);
  for (const std::string& name : names)
    for (char c : name) EXPECT_TRUE((c >= 'a' && c <= 'z') || c == '_') << name;
  const std::string json = Json(frame);
  for (const std::string& name : names) EXPECT_NE(Member(json, name), "(missing)") << name;
  EXPECT_EQ(json.front(), '{');
  EXPECT_EQ(json.substr(json.size() - 2), "}\n");
  EXPECT_EQ(json.find('\n'), json.size() - 1) << "one line";
}

TEST_F(WindowPropertiesJson, EachPropertyAsItsValueNotItsDisplayText) {
  const std::string json = Json(frame);
  EXPECT_EQ(Member(json, "hwnd"), H(frame));
  EXPECT_EQ(Member(json, "is_window"), "true");
  EXPECT_EQ(Member(json, "is_enabled"), "true");
  EXPECT_EQ(Member(json, "is_visible"), "true");
  EXPECT_EQ(Member(json, "is_minimized"), "false");
  EXPECT_EQ(Member(json, "class_name"), "\"EditorFrame\"");
  EXPECT_EQ(Member(json, "title"), "\"Окно \\\"1\\\"\"");
  EXPECT_EQ(Member(json, "window_rect"), "{\"left\":10,\"top\":20,\"right\":110,\"bottom\":220}");
  EXPECT_EQ(Member(json, "client_rect"), "{\"left\":0,\"top\":0,\"right\":84,\"bottom\":160}");
  EXPECT_EQ(Member(json, "style"), std::to_string(0x14CF0000));
  EXPECT_EQ(Member(json, "ex_style"), "256");
  EXPECT_EQ(Member(json, "window_procedure"), H(0x7ff612340000));
  EXPECT_EQ(Member(json, "menu"), H(0x3001c));
  EXPECT_EQ(Member(json, "owner"), "\"0x0\"");
  EXPECT_EQ(Member(json, "class_style"), "3");
  EXPECT_EQ(Member(json, "class_cursor"), H(0x10003));
  EXPECT_EQ(Member(json, "class_small_icon"), "\"0x0\"");
  EXPECT_EQ(Member(json, "executable"), "\"C:\\\\Программы\\\\editor.exe\"");
  EXPECT_EQ(Member(json, "process_id"), "1234");

  const std::string child = Json(button);
  EXPECT_EQ(Member(child, "is_enabled"), "false");
  EXPECT_EQ(Member(child, "parent"), H(frame));
  EXPECT_EQ(Member(child, "id"), "1001");
  EXPECT_EQ(Member(child, "window_rect"), "{\"left\":-20,\"top\":30,\"right\":60,\"bottom\":50}");
  EXPECT_EQ(Member(child, "executable"), "null") << "its process has ended";
  EXPECT_EQ(Member(child, "process_id"), "4321");
}

TEST_F(WindowPropertiesJson, UnreadableRectanglesAndAGoneWindowAreNotStaleNumbers) {
  sim.desktop.FailCall("GetClientRect", ERROR_ACCESS_DENIED);
  const std::string json = Json(frame);
  EXPECT_EQ(Member(json, "client_rect"), "null");
  EXPECT_NE(Member(json, "window_rect"), "null");
  sim.desktop.ClearFailures();
  sim.desktop.DestroyWindow(frame);
  const std::string gone = Json(frame);
  EXPECT_EQ(Member(gone, "is_window"), "false");
  EXPECT_EQ(Member(gone, "window_rect"), "null");
  EXPECT_EQ(Member(gone, "title"), "\"\"");
  EXPECT_EQ(Member(gone, "process_id"), "0");
}

}  // namespace
}  // namespace qm
