#include "app/window_properties_json.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

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
  // Whether the JSON has the member with exactly this value.
  static bool Has(const std::string& json, const std::string& name, const std::string& value) {
    const std::string member = "\"" + name + "\":" + value;
    const size_t at = json.find(member);
    return at != std::string::npos && (json[at - 1] == '{' || json[at - 1] == ',') &&
           (json[at + member.size()] == ',' || json[at + member.size()] == '}');
  }
  static std::string H(uint64_t value) { return Format("\"0x%08llX\"", static_cast<unsigned long long>(value)); }

  SimSystem sim;
  CQuillmarDoc doc{sim.platform};
  WindowHandle frame = 0, button = 0;
};

TEST_F(WindowPropertiesJson, EachOfTheTwentyNineAsItsValueNotItsDisplayText) {
  const std::set<std::string> names(kPropertyJsonNames.begin(), kPropertyJsonNames.end());
  EXPECT_EQ(names.size(), 29u);
  const std::string json = Json(frame);
  for (const std::string& name : names) EXPECT_NE(json.find("\"" + name + "\":"), std::string::npos) << name;
  EXPECT_EQ(json.find('\n'), json.size() - 1) << "one line";
  EXPECT_TRUE(Has(json, "hwnd", H(frame))) << json;
  EXPECT_TRUE(Has(json, "is_window", "true"));
  EXPECT_TRUE(Has(json, "is_minimized", "false"));
  EXPECT_TRUE(Has(json, "title", "\"Окно \\\"1\\\"\""));
  EXPECT_TRUE(Has(json, "window_rect", "{\"left\":10,\"top\":20,\"right\":110,\"bottom\":220}"));
  EXPECT_TRUE(Has(json, "client_rect", "{\"left\":0,\"top\":0,\"right\":84,\"bottom\":160}"));
  EXPECT_TRUE(Has(json, "style", std::to_string(0x14CF0000)));
  EXPECT_TRUE(Has(json, "ex_style", "256"));
  EXPECT_TRUE(Has(json, "window_procedure", H(0x7ff612340000)));
  EXPECT_TRUE(Has(json, "owner", "\"0x0\""));
  EXPECT_TRUE(Has(json, "class_style", "3"));
  EXPECT_TRUE(Has(json, "class_cursor", H(0x10003)));
  EXPECT_TRUE(Has(json, "executable", "\"C:\\\\Программы\\\\editor.exe\""));
  EXPECT_TRUE(Has(json, "process_id", "1234"));

  const std::string child = Json(button);
  EXPECT_TRUE(Has(child, "is_enabled", "false"));
  EXPECT_TRUE(Has(child, "parent", H(frame)));
  EXPECT_TRUE(Has(child, "id", "1001"));
  EXPECT_TRUE(Has(child, "window_rect", "{\"left\":-20,\"top\":30,\"right\":60,\"bottom\":50}"));
  EXPECT_TRUE(Has(child, "executable", "null")) << "its process has ended";
  EXPECT_TRUE(Has(child, "process_id", "4321"));
}

TEST_F(WindowPropertiesJson, UnreadableRectanglesAndAGoneWindowAreNotStaleNumbers) {
  sim.desktop.FailCall("GetClientRect", ERROR_ACCESS_DENIED);
  const std::string json = Json(frame);
  EXPECT_TRUE(Has(json, "client_rect", "null"));
  EXPECT_FALSE(Has(json, "window_rect", "null"));
  sim.desktop.ClearFailures();
  sim.desktop.DestroyWindow(frame);
  const std::string gone = Json(frame);
  EXPECT_TRUE(Has(gone, "is_window", "false"));
  EXPECT_TRUE(Has(gone, "window_rect", "null"));
  EXPECT_TRUE(Has(gone, "title", "\"\""));
  EXPECT_TRUE(Has(gone, "process_id", "0"));
}

}  // namespace
}  // namespace qm
