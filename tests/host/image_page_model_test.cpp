#include "resources/image_page_model.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/sim/sim_system.h"
#include "res/string_ids.h"
#include "resource_image.h"
#include "resources/resource_types.h"

namespace qm {
namespace {

// A 2 × 2 24-bit DIB: 40-byte header and two rows of 8 bytes.
std::vector<uint8_t> SmallDib() {
  std::vector<uint8_t> dib;
  for (uint32_t v : {40u, 2u, 2u}) test::Append32(dib, v);
  test::Append16(dib, 1);
  test::Append16(dib, 24);
  for (int i = 0; i < 6; ++i) test::Append32(dib, 0);
  dib.resize(dib.size() + 16, 0x7F);
  return dib;
}

TEST(ImagePageLayout, BarsHugTheEdgesBelowTheToolbarAndTheViewKeepsClearOfThem) {
  const Rect client{0, 0, 300, 200};
  const ImagePageBars bars = LayOutImagePageBars(client, 30, 17, 15);
  EXPECT_EQ(bars.horizontal, (Rect{0, 185, 283, 200}));
  EXPECT_EQ(bars.vertical, (Rect{283, 30, 300, 185}));
  EXPECT_EQ(ImageViewRect(client, 30, bars.vertical, bars.horizontal), (Rect{0, 30, 283, 185}));
  // Before the bars are made the view reaches the client's edges.
  EXPECT_EQ(ImageViewRect(client, 30, Rect{}, Rect{}), (Rect{0, 30, 300, 200}));

  // A page smaller than its toolbar and bars: nothing is inverted.
  const Rect tiny{0, 0, 10, 20};
  const ImagePageBars squeezed = LayOutImagePageBars(tiny, 30, 17, 15);
  EXPECT_EQ(squeezed.horizontal, (Rect{0, 20, 0, 35}));
  EXPECT_EQ(squeezed.vertical, (Rect{0, 20, 17, 20}));
  const Rect view = ImageViewRect(tiny, 30, squeezed.vertical, squeezed.horizontal);
  EXPECT_GE(view.right, view.left);
  EXPECT_GE(view.bottom, view.top);
}

TEST(ImagePageLayout, BarsSpanTheImageAndTheViewShowsWhatIsLeftOfIt) {
  const ImageBarRange range = ImageScrollRange(640, 200);
  EXPECT_EQ(range.maximum, 639);
  EXPECT_EQ(range.page, 200u);
  EXPECT_EQ(ImageScrollRange(640, -5).page, 0u);

  EXPECT_EQ(ShownImageSpan(640, 0, 200), 200);
  EXPECT_EQ(ShownImageSpan(640, 500, 200), 140);  // the rest is filled
  EXPECT_EQ(ShownImageSpan(100, 150, 200), 0);
  EXPECT_EQ(ShownImageSpan(100, 0, -1), 0);
  // A read-back picture's rows are padded to four bytes; a size past 32 bits is refused.
  EXPECT_EQ(Dib24PixelBytes(5, 3, 40), 48u);
  EXPECT_EQ(Dib24PixelBytes(65536, 21846, 40), std::nullopt);
}

TEST(ImagePageContent, ANewResourceDropsWhatWasShownAndKeptButAReplacedImageKeepsTheResource) {
  SimSystem sim;
  CResourceModule module(sim.files);
  ImagePageContent content;
  content.Select(module, ResourceName::Number(7));
  content.Show(ShownImage::DialogPicture, true, {});
  EXPECT_TRUE(content.HasDialog());

  content.Show(ShownImage::Bitmap, true, {1, 2, 3});
  content.SetNotice("too large");
  EXPECT_FALSE(content.HasDialog());
  ASSERT_TRUE(content.Name().has_value());
  EXPECT_EQ(content.Name()->ToText(), ResourceName::Number(7).ToText());
  EXPECT_EQ(content.SavedBytes().size(), 3u);

  // An image that did not come out shows nothing, and no dialog command acts.
  content.Show(ShownImage::DialogPicture, false, {});
  EXPECT_EQ(content.Shown(), ShownImage::Nothing);
  EXPECT_FALSE(content.HasDialog());
  EXPECT_TRUE(content.Notice().empty());

  content.Show(ShownImage::Bitmap, true, {9});
  content.SetNotice("x");
  content.Select(module, ResourceName::Number(8));
  EXPECT_EQ(content.Shown(), ShownImage::Nothing);
  EXPECT_TRUE(content.SavedBytes().empty());
  EXPECT_TRUE(content.Notice().empty());
}

class ImagePageSaves : public ::testing::Test {
 protected:
  ImagePageSaves() {
    dir_ = std::filesystem::temp_directory_path() / ("qm-image-page-" + std::to_string(::getpid()) + "-" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  ~ImagePageSaves() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ImagePageServices Services() {
    return ImagePageServices{sim_.strings, sim_.messageBox,
                             [this](const std::string&, const std::string& name, const std::string& ext) {
                               asked_.push_back(name + "|" + ext);
                               return answer_;
                             }};
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& shown : sim_.messageBox.shown) texts.push_back(shown.text);
    return texts;
  }
  std::string Failed(uint32_t id) const { return sim_.strings.LoadString(id); }

  SimSystem sim_;
  std::filesystem::path dir_;
  std::optional<std::string> answer_;
  std::vector<std::string> asked_;
};

TEST_F(ImagePageSaves, ABitmapIsWrittenWholeAndAFailureNeverTouchesTheFileOrGoesUntold) {
  SaveImageAsBitmap({}, Services());
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(Messages(), std::vector<std::string>{Failed(IDS_BITMAP_SAVE_FAILED)});

  const std::string path = (dir_ / "out.bmp").string();
  answer_ = std::nullopt;  // cancelled: nothing written, nothing said
  SaveImageAsBitmap(SmallDib(), Services());
  EXPECT_EQ(asked_, std::vector<std::string>{"Bitmap.bmp|bmp"});
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(Messages().size(), 1u);

  answer_ = path;
  SaveImageAsBitmap(SmallDib(), Services());
  EXPECT_EQ(std::filesystem::file_size(path), 14u + SmallDib().size());
  EXPECT_EQ(Messages().size(), 1u);

  // Bytes that do not make a bitmap: the file already there stays.
  SaveImageAsBitmap({1, 2, 3}, Services());
  EXPECT_EQ(std::filesystem::file_size(path), 14u + SmallDib().size());
  EXPECT_EQ(Messages().back(), Failed(IDS_BITMAP_SAVE_FAILED));
}

TEST_F(ImagePageSaves, ADialogIsSavedAsScriptOnlyWhenItReads) {
  // A template of no controls: style, extended style, count, place, size,
  // then no menu, class or caption.
  std::vector<uint8_t> dialog;
  test::Append32(dialog, 0x80C80000);
  test::Append32(dialog, 0);
  for (int i = 0; i < 8; ++i) test::Append16(dialog, i == 3 ? 100 : 0);
  sim_.files.files["C:\\m\\d.dll"] = test::ImageWithSection(
      test::ResourceSection({{ResourceName::Number(kRtDialog), ResourceName::Number(1), 0, dialog},
                             {ResourceName::Number(kRtDialog), ResourceName::Number(2), 0, {1, 2}}}));
  CResourceModule module(sim_.files);
  ASSERT_TRUE(module.Enumerate("C:\\m\\d.dll"));
  ImagePageContent content;

  content.Select(module, ResourceName::Number(1));
  SaveDialogAsScript(content, Services());  // no dialog picture shown: nothing
  EXPECT_TRUE(asked_.empty());
  EXPECT_TRUE(Messages().empty());

  content.Show(ShownImage::DialogPicture, true, {});
  answer_ = (dir_ / "dialog.rc").string();
  SaveDialogAsScript(content, Services());
  EXPECT_EQ(asked_, std::vector<std::string>{"dialog.rc|rc"});
  EXPECT_GT(std::filesystem::file_size(*answer_), 0u);
  EXPECT_TRUE(Messages().empty());

  content.Select(module, ResourceName::Number(2));
  content.Show(ShownImage::DialogPicture, true, {});
  SaveDialogAsScript(content, Services());
  EXPECT_EQ(asked_.size(), 1u);
  EXPECT_EQ(Messages(), std::vector<std::string>{Failed(IDS_DIALOG_LOAD_FAILED)});

  answer_ = (dir_ / "missing" / "dialog.rc").string();
  content.Select(module, ResourceName::Number(1));
  content.Show(ShownImage::DialogPicture, true, {});
  SaveDialogAsScript(content, Services());
  EXPECT_EQ(Messages().back(), Failed(IDS_DIALOG_SCRIPT_SAVE_FAILED));
}

}  // namespace
}  // namespace qm
