#include "resources/dialog_template.h"

#include <gtest/gtest.h>

#include <fstream>

#include "resources/resource_directory.h"
#include "resources/resource_types.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::ReadFileBytes;

class FixtureDialogs : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    bytes_ = ReadFileBytes(std::string(QM_FIXTURE_DIR) + "/" + GetParam() + "/images.dll");
    auto image = PeImage::Parse(ByteView(bytes_));
    ASSERT_TRUE(image);
    image_ = std::move(image).value();
    auto resources = ResourceDirectory::Parse(*image_);
    ASSERT_TRUE(resources);
    resources_ = std::move(resources).value();
  }
  Result<DialogTemplate> Dialog(const ResourceName& name) {
    QM_TRY(data, resources_.Load(*image_, ResourceName::Number(kRtDialog), name));
    return ParseDialogTemplate(data);
  }

  std::vector<uint8_t> bytes_;
  std::optional<PeImage> image_;
  ResourceDirectory resources_;
};

TEST_P(FixtureDialogs, PlainTemplateGivesCaptionFontAndEveryControl) {
  auto dialog = Dialog(ResourceName::Number(100));
  ASSERT_TRUE(dialog) << DescribeError(dialog.error());
  EXPECT_FALSE(dialog->extended);
  EXPECT_EQ(dialog->caption, "Plain \"dialog\"");
  EXPECT_TRUE(dialog->hasFont);
  EXPECT_EQ(dialog->pointSize, 8);
  EXPECT_EQ(dialog->fontName, "MS Shell Dlg");
  EXPECT_EQ(dialog->style & 0xFFFF0000u, 0x80C80000u);  // WS_POPUP | WS_CAPTION | WS_SYSMENU
  EXPECT_EQ(dialog->x, 10);
  EXPECT_EQ(dialog->y, 20);
  EXPECT_EQ(dialog->cx, 200);
  EXPECT_EQ(dialog->cy, 100);
  EXPECT_TRUE(dialog->menu.isNone());
  EXPECT_TRUE(dialog->windowClass.isNone());
  ASSERT_EQ(dialog->controls.size(), 8u);
  const std::vector<std::pair<uint32_t, std::string>> expected{
      {1, "Button"},       {1001, "Edit"},     {1002, "Static"}, {1003, "ListBox"},
      {1004, "ScrollBar"}, {1005, "ComboBox"}, {1006, "Static"}, {1007, "msctls_progress32"}};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(dialog->controls[i].id, expected[i].first) << i;
    // The resource compiler may store custom class names in capitals.
    std::string name = dialog->controls[i].className, want = expected[i].second;
    for (auto* text : {&name, &want})
      for (char& c : *text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(name, want) << i;
  }
  EXPECT_EQ(dialog->controls[0].text.text, "OK");
  EXPECT_EQ(dialog->controls[2].text.text, "Name:");
  EXPECT_EQ(dialog->controls[1].x, 10);
  EXPECT_EQ(dialog->controls[1].cx, 100);
  EXPECT_EQ(dialog->controls[1].cy, 12);
  EXPECT_TRUE(dialog->controls[6].text.isOrdinal());  // the icon of a static
  EXPECT_EQ(dialog->controls[6].text.ordinal, 1);
}

TEST_P(FixtureDialogs, ExtendedTemplateGivesWeightItalicHelpIdsAndCreationData) {
  auto dialog = Dialog(ResourceName::Number(101));
  ASSERT_TRUE(dialog) << DescribeError(dialog.error());
  EXPECT_TRUE(dialog->extended);
  EXPECT_EQ(dialog->version, 1);
  EXPECT_EQ(dialog->helpId, 77u);
  EXPECT_EQ(dialog->caption, "Diálogo extendido");
  EXPECT_EQ(dialog->exStyle, 0x80u);  // WS_EX_TOOLWINDOW
  EXPECT_EQ(dialog->fontName, "Segoe UI");
  EXPECT_EQ(dialog->pointSize, 9);
  EXPECT_EQ(dialog->weight, 700);
  EXPECT_TRUE(dialog->italic);
  ASSERT_TRUE(dialog->menu.isOrdinal());
  EXPECT_EQ(dialog->menu.ordinal, 300);
  ASSERT_EQ(dialog->controls.size(), 3u);
  EXPECT_EQ(dialog->controls[0].helpId, 0x12345u);
  EXPECT_EQ(dialog->controls[0].exStyle, 0x200u);  // WS_EX_CLIENTEDGE
  EXPECT_EQ(dialog->controls[0].text.text, "Casilla");
  EXPECT_EQ(dialog->controls[1].id, 2u);
  EXPECT_EQ(dialog->controls[2].creationDataSize, 4);

  auto named = Dialog(ResourceName::String("OPTIONS"));
  ASSERT_TRUE(named);
  EXPECT_FALSE(named->hasFont);
  EXPECT_EQ(named->menu.ToText(), "MAINMENU");
  EXPECT_EQ(named->windowClass.kind, DialogNameOrOrdinal::Kind::Text);
  EXPECT_TRUE(named->controls.empty());
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, FixtureDialogs, ::testing::Values("x86_64", "i686"));

// A plain template assembled from 16-bit units.
struct Template {
  std::vector<uint8_t> bytes;
  Template& u16(uint32_t v) {
    test::Append16(bytes, v);
    return *this;
  }
  Template& u32(uint32_t v) {
    test::Append32(bytes, v);
    return *this;
  }
  Template& text(std::u16string_view s) {
    for (char16_t c : s) u16(c);
    return u16(0);
  }
  Template& align() {
    while (bytes.size() % 4) bytes.push_back(0);
    return *this;
  }
  ByteView view() const { return ByteView(bytes); }
};

Template PlainWithControls(uint16_t count) {
  Template t;
  t.u32(0x80000000).u32(0).u16(count).u16(1).u16(2).u16(3).u16(4);
  t.u16(0).u16(0).text(u"Ab");  // no menu, no class, caption of odd length
  return t;
}

void AddControl(Template& t, uint16_t classOrdinal, std::u16string_view text, uint16_t extra) {
  t.align().u32(0x50000000).u32(0).u16(5).u16(6).u16(7).u16(8).u16(42);
  t.u16(0xFFFF).u16(classOrdinal).text(text).u16(extra);
  for (uint16_t i = 0; i < extra; ++i) t.bytes.push_back(0xAB);
}

TEST(DialogTemplate, ControlsStartOnDwordBoundariesAndEndExactlyAtTheEnd) {
  Template t = PlainWithControls(2);
  AddControl(t, 0x80, u"x", 0);
  AddControl(t, 0x86, u"", 3);
  auto dialog = ParseDialogTemplate(t.view());
  ASSERT_TRUE(dialog) << DescribeError(dialog.error());
  EXPECT_EQ(dialog->caption, "Ab");
  ASSERT_EQ(dialog->controls.size(), 2u);
  EXPECT_EQ(dialog->controls[0].className, "Button");
  EXPECT_EQ(dialog->controls[0].text.text, "x");
  EXPECT_EQ(dialog->controls[0].id, 42u);
  EXPECT_EQ(dialog->controls[1].className, "#134");  // not a predefined class
  EXPECT_EQ(dialog->controls[1].creationDataSize, 3);

  t.bytes.pop_back();  // the creation data one byte short
  EXPECT_EQ(ParseDialogTemplate(t.view()).error().code, ReadError::OutOfBounds);
}

TEST(DialogTemplate, CountsAndTextsPastTheDataAreRefused) {
  Template many = PlainWithControls(0xFFFF);
  AddControl(many, 0x81, u"", 0);
  EXPECT_FALSE(ParseDialogTemplate(many.view()));

  Template unterminated;
  unterminated.u32(0).u32(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16('A');
  EXPECT_FALSE(ParseDialogTemplate(unterminated.view()));

  // DS_SETFONT promises a font that is not there.
  Template noFont;
  noFont.u32(DS_SETFONT).u32(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0);
  EXPECT_FALSE(ParseDialogTemplate(noFont.view()));
  noFont.u16(8).text(u"F");
  EXPECT_TRUE(ParseDialogTemplate(noFont.view()));

  Template header;
  header.u32(0).u32(0).u16(0).u16(0).u16(0).u16(0);
  EXPECT_FALSE(ParseDialogTemplate(header.view()));
  EXPECT_FALSE(ParseDialogTemplate(ByteView()));
}

}  // namespace
}  // namespace qm
