#include "resources/dialog_script.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/platform.h"
#include "resources/resource_module.h"
#include "resources/resource_types.h"
#include "tests/host/rc_compiler.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::ReadFileText;

DialogTemplate LoadDialog(const std::string& module, const ResourceName& name) {
  CResourceModule resources(*SystemPlatform().files);
  EXPECT_TRUE(resources.Enumerate(module)) << module;
  auto bytes = resources.LoadResourceData(ResourceName::Number(kRtDialog), name);
  EXPECT_TRUE(bytes.ok()) << name.ToText();
  if (!bytes.ok()) return {};
  auto dialog = ParseDialogTemplate(*bytes);
  EXPECT_TRUE(dialog.ok()) << name.ToText();
  return dialog.ok() ? *dialog : DialogTemplate{};
}

void ExpectSameName(const DialogNameOrOrdinal& a, const DialogNameOrOrdinal& b, const std::string& at) {
  EXPECT_EQ(a.kind, b.kind) << at;
  EXPECT_EQ(a.ordinal, b.ordinal) << at;
  EXPECT_EQ(a.text, b.text) << at;
}

void ExpectSameDialog(const DialogTemplate& a, const DialogTemplate& b) {
  EXPECT_EQ(a.extended, b.extended);
  EXPECT_EQ(a.helpId, b.helpId);
  EXPECT_EQ(a.style, b.style);
  EXPECT_EQ(a.exStyle, b.exStyle);
  EXPECT_EQ((std::vector<int>{a.x, a.y, a.cx, a.cy}), (std::vector<int>{b.x, b.y, b.cx, b.cy}));
  ExpectSameName(a.menu, b.menu, "menu");
  ExpectSameName(a.windowClass, b.windowClass, "class");
  EXPECT_EQ(a.caption, b.caption);
  EXPECT_EQ(a.hasFont, b.hasFont);
  EXPECT_EQ(a.pointSize, b.pointSize);
  EXPECT_EQ(a.weight, b.weight);
  EXPECT_EQ(a.italic, b.italic);
  EXPECT_EQ(a.charset, b.charset);
  EXPECT_EQ(a.fontName, b.fontName);
  ASSERT_EQ(a.controls.size(), b.controls.size());
  for (size_t i = 0; i < a.controls.size(); ++i) {
    const DialogControl &x = a.controls[i], &y = b.controls[i];
    const std::string at = "control " + std::to_string(i);
    EXPECT_EQ(x.helpId, y.helpId) << at;
    EXPECT_EQ(x.style, y.style) << at;
    EXPECT_EQ(x.exStyle, y.exStyle) << at;
    EXPECT_EQ((std::vector<int>{x.x, x.y, x.cx, x.cy}), (std::vector<int>{y.x, y.y, y.cx, y.cy})) << at;
    EXPECT_EQ(x.id, y.id) << at;
    ExpectSameName(x.windowClass, y.windowClass, at + " class");
    EXPECT_EQ(x.className, y.className) << at;
    ExpectSameName(x.text, y.text, at + " text");
    EXPECT_EQ(x.creationData, y.creationData) << at;
  }
}

// Writes the dialog, compiles the script into a DLL and reads it back.
DialogTemplate RoundTrip(const DialogTemplate& dialog, const ResourceName& name, const test::TempDir& dir,
                         const std::string& file) {
  const auto script = dir.path() / file;
  EXPECT_TRUE(WriteDialogScript(dialog, name, script.string()));
  const std::string dll = test::CompileScriptToDll(script);
  EXPECT_FALSE(dll.empty()) << ReadFileText(script);
  if (dll.empty()) return {};
  return LoadDialog(dll, name);
}

DialogNameOrOrdinal Text(std::string text) { return {DialogNameOrOrdinal::Kind::Text, 0, std::move(text)}; }
DialogNameOrOrdinal Ordinal(uint16_t value) { return {DialogNameOrOrdinal::Kind::Ordinal, value, {}}; }

DialogControl Control(uint16_t classOrdinal, DialogNameOrOrdinal text, uint32_t id, uint32_t style) {
  DialogControl control;
  control.windowClass = Ordinal(classOrdinal);
  control.className = PredefinedControlClass(classOrdinal);
  control.text = std::move(text);
  control.id = id;
  control.style = style;
  control.x = -4;
  control.y = 7;
  control.cx = 60;
  control.cy = 12;
  return control;
}

// A dialog written by hand: texts in three scripts with quotes and
// backslashes, a caption without WS_CAPTION, controls that are hidden or
// not children, an icon named by ordinal and a custom class.
DialogTemplate HandMadeDialog(bool extended) {
  DialogTemplate dialog;
  dialog.extended = extended;
  dialog.version = extended ? 1 : 0;
  dialog.helpId = extended ? 0x4242 : 0;
  dialog.style = 0x80080040 | 0x00800000;  // WS_POPUP | WS_SYSMENU | DS_SETFONT | WS_BORDER, no WS_DLGFRAME
  dialog.exStyle = 0x00000080;
  dialog.x = -10;
  dialog.y = 5;
  dialog.cx = 220;
  dialog.cy = 120;
  dialog.menu = Ordinal(300);
  dialog.windowClass = Text("MIVENTANA");
  dialog.caption = "Título \"ñ\" C:\\dir\\ — Ελληνικά 日本語";
  dialog.hasFont = true;
  dialog.pointSize = 9;
  dialog.fontName = "Segoe UI";
  if (extended) {
    dialog.weight = 700;
    dialog.italic = true;
    dialog.charset = 1;
  }
  dialog.controls.push_back(Control(0x80, Text("&Aceptar \"ya\""), 1, 0x00010001));
  dialog.controls.push_back(Control(0x81, Text("línea\\dos"), 1001, 0x00010080 | 0x40000000));  // hidden
  dialog.controls.push_back(Control(0x82, Ordinal(1), 1002, 0x50000003));                       // icon
  dialog.controls.push_back(Control(0x83, {}, 1003, 0x50a10001));
  dialog.controls.push_back(Control(0x84, {}, 1004, 0x10000000));  // visible, not a child
  dialog.controls.push_back(Control(0x85, Text("Выбор"), extended ? 0xFFFFFFFFu : 0xFFFFu, 0x50010003));
  DialogControl custom = Control(0x80, Text("progreso"), 1006, 0x50800000);
  custom.windowClass = Text("MSCTLS_PROGRESS32");
  custom.className = "MSCTLS_PROGRESS32";
  custom.exStyle = 0x200;
  if (extended) {
    custom.helpId = 0x12345;
    custom.creationData = {0x34, 0x12, 0x78, 0x56};
    custom.creationDataSize = 4;
  }
  dialog.controls.push_back(custom);
  return dialog;
}

TEST(DialogScript, FixtureDialogsCompileBackToTheSameTemplate) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "no MinGW resource compiler";
  test::TempDir dir("dialog-roundtrip");
  const std::string module = std::string(QM_FIXTURE_DIR) + "/x86_64/images.dll";
  int n = 0;
  for (const ResourceName& name :
       {ResourceName::Number(100), ResourceName::Number(101), ResourceName::String("OPTIONS")}) {
    SCOPED_TRACE(name.ToText());
    const DialogTemplate original = LoadDialog(module, name);
    ExpectSameDialog(original, RoundTrip(original, name, dir, "Dialog" + std::to_string(n++) + ".rc"));
  }
}

TEST(DialogScript, HandMadeDialogsOfBothFormsCompileBackToTheSameTemplate) {
  if (!test::HaveMinGw()) GTEST_SKIP() << "no MinGW resource compiler";
  test::TempDir dir("dialog-handmade");
  for (bool extended : {false, true}) {
    SCOPED_TRACE(extended ? "DIALOGEX" : "DIALOG");
    const DialogTemplate original = HandMadeDialog(extended);
    const DialogTemplate back = RoundTrip(original, ResourceName::Number(7), dir, extended ? "Ex.rc" : "Plain.rc");
    ExpectSameDialog(original, back);
  }
}

TEST(DialogScript, TheScriptIsUtf8OnlyWhenItMustBeAndEndsLinesWithCrLf) {
  DialogTemplate ascii;
  ascii.style = 0x80C80000;
  ascii.caption = "Plain";
  const std::string text = DialogScriptText(ascii, ResourceName::String("OPCIONES"));
  EXPECT_EQ(text.rfind("\"OPCIONES\" DIALOG 0, 0, 0, 0\nCAPTION \"Plain\"\nSTYLE 0x80c80000\nBEGIN\nEND\n", 0), 0u)
      << text;
  const DialogTemplate wide = HandMadeDialog(true);
  EXPECT_EQ(DialogScriptText(wide, ResourceName::Number(7)).rfind("#pragma code_page(65001)\n", 0), 0u);

  test::TempDir dir("dialog-crlf");
  const auto path = dir.path() / "Dialog.rc";
  ASSERT_TRUE(WriteDialogScript(wide, ResourceName::Number(7), path.string()));
  const std::string written = ReadFileText(path);
  EXPECT_NE(written.find("\r\nBEGIN\r\n"), std::string::npos);
  EXPECT_EQ(written.find("\n\n"), std::string::npos);
  // A folder that does not exist: false, and nothing is left behind.
  EXPECT_FALSE(WriteDialogScript(wide, ResourceName::Number(7), (dir.path() / "no" / "Dialog.rc").string()));
}

}  // namespace
}  // namespace qm
