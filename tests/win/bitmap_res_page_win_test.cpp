// The resource browser's image page in a small host dialog, on the image
// fixture module: a large bitmap scrolled, small bitmaps of every depth with
// the button-face strips, icons and cursors at their own size, pictures of
// dialogs of both template forms, the saves (and the saves refused), and the
// page chosen by the browser for each image kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_system.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "resources/bitmap_file.h"
#include "resources/resource_types.h"
#include "resources/ui/bitmap_res_page.h"
#include "resources/ui/module_resources_dlg.h"
#include "resources/ui/template_dialog.h"
#include "tests/host/resource_image.h"
#include "tests/host/test_bytes.h"
#include "tests/win/app_fixture.h"
#include "tests/win/file_dialog_answer.h"
#include "tests/win/modal_driver.h"
#include "tests/win/template_writer.h"

// After <windows.h> (through the includes above), which it needs.
#include <commctrl.h>

namespace qm {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& arch, const std::string& name) {
  return std::string(QM_FIXTURE_DIR) + "\\" + arch + "\\" + name;
}

using test::ReadFileBytes;

// 0x00RRGGBB pixels, rows from the top.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;
  uint32_t at(int x, int y) const {
    return rgb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
};

uint32_t Rgb(COLORREF colour) {
  return (uint32_t{GetRValue(colour)} << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

constexpr uint32_t kUntouched = 0x123456;

// What the page paints into a context of its client's size that holds
// kUntouched everywhere beforehand.
Pixels PagePixels(HWND page) {
  RECT client{};
  ::GetClientRect(page, &client);
  Pixels out{client.right, client.bottom, {}};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  BitmapHandle section(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) return {};
  auto* words = static_cast<uint32_t*>(bits);
  std::fill(words, words + out.width * out.height, kUntouched);
  {
    MemoryDc dc(nullptr, section.get());
    ::SendMessageW(page, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    ::GdiFlush();
  }
  for (int i = 0; i < out.width * out.height; ++i) out.rgb.push_back(words[i] & 0xFFFFFF);
  return out;
}

Pixels BitmapPixelsOf(HBITMAP bitmap) {
  BITMAP metrics{};
  ::GetObjectW(bitmap, sizeof metrics, &metrics);
  Pixels out{metrics.bmWidth, metrics.bmHeight, {}};
  std::vector<uint32_t> words(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  ScreenDc screen;
  ::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(out.height), words.data(), &info, DIB_RGB_COLORS);
  for (uint32_t word : words) out.rgb.push_back(word & 0xFFFFFF);
  return out;
}

bool Visible(HWND window) { return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// Answers "Yes" to the overwrite question of this thread's save dialog.
class OverwriteAnswer {
 public:
  OverwriteAnswer() { timer_ = ::SetTimer(nullptr, 0, 50, &OverwriteAnswer::OnTimer); }
  ~OverwriteAnswer() { ::KillTimer(nullptr, timer_); }
  OverwriteAnswer(const OverwriteAnswer&) = delete;
  OverwriteAnswer& operator=(const OverwriteAnswer&) = delete;

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM) {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window) && ::GetDlgItem(window, IDYES)) {
      ::PostMessageW(window, WM_COMMAND, IDYES, 0);
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &OverwriteAnswer::Find, 0);
  }
  UINT_PTR timer_ = 0;
};

class BitmapResPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    LoadProgramResources();
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    platform_.messageBox = &messages_;
    ASSERT_TRUE(host_.CreateIndirect(TemplateWriter(L"Recursos", WS_POPUP | WS_CAPTION | WS_VISIBLE).Bytes()));
    ASSERT_TRUE(module_.Enumerate(Fixture("x86_64", "images.dll")));
    ASSERT_TRUE(page_.CreatePage(CBitmapResPage::kTemplateId, host_.m_hWnd, RECT{4, 4, 244, 224}));
    ::ShowWindow(page_.m_hWnd, SW_SHOW);
    dir_ = fs::path("Z:\\tmp") / ("qm-bitmap-page-" + std::to_string(::GetCurrentProcessId()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  HWND Bar(int id) const { return ::GetDlgItem(page_.m_hWnd, id); }
  int Position(int id) const { return ::GetScrollPos(Bar(id), SB_CTL); }
  int Scroll(int id, WORD request, int times = 1) {
    const UINT message = id == IDC_IMAGE_HSCROLL ? WM_HSCROLL : WM_VSCROLL;
    for (int i = 0; i < times; ++i)
      ::SendMessageW(page_.m_hWnd, message, MAKEWPARAM(request, 0), reinterpret_cast<LPARAM>(Bar(id)));
    return Position(id);
  }
  BitmapPixels Decoded(uint16_t id) const {
    auto data = module_.LoadResourceData(ResourceName::Number(kRtBitmap), ResourceName::Number(id));
    EXPECT_TRUE(data);
    auto pixels = data ? ReadBitmapPixels(*data) : Result<BitmapPixels>::Fail(ReadError::NotFound, 0);
    EXPECT_TRUE(pixels);
    return pixels ? *pixels : BitmapPixels{};
  }
  bool DialogButtonsShown() const {
    CDialogToolBar& toolbar = const_cast<CBitmapResPage&>(page_).ToolBar();
    const bool resource = !toolbar.IsButtonHidden(IDC_SAVE_AS_RESOURCE);
    EXPECT_EQ(resource, !toolbar.IsButtonHidden(IDC_TEST_DIALOG));
    return resource;
  }
  // Saves through the toolbar command, answering the save dialog with path.
  bool SaveAsBitmap(const fs::path& path) {
    FileDialogAnswer answer(path.wstring());
    ::SendMessageW(page_.m_hWnd, WM_COMMAND, IDC_SAVE_AS_BITMAP, 0);
    return answer.Answered();
  }

  SimMessageBox messages_;
  Platform platform_ = SystemPlatform();
  CToolBarDialog host_;
  CResourceModule module_{*SystemPlatform().files};
  CBitmapResPage page_{platform_};
  fs::path dir_;
};

// The scroll arithmetic is proved by the host's image scroll tests; here the
// bars reach it and the picture follows them.
TEST_F(BitmapResPageTest, ALargeBitmapScrollsByLinesAndPagesWithinItsRangeAndShowsWhereItIsScrolled) {
  page_.ShowBitmap(module_, ResourceName::Number(640));
  ASSERT_NE(page_.Bitmap(), nullptr);
  ASSERT_TRUE(Visible(Bar(IDC_IMAGE_HSCROLL)) && Visible(Bar(IDC_IMAGE_VSCROLL)));
  const RECT view = page_.ViewRect();
  EXPECT_EQ(Scroll(IDC_IMAGE_VSCROLL, SB_BOTTOM), 480 - (view.bottom - view.top));
  Scroll(IDC_IMAGE_HSCROLL, SB_LINERIGHT, 5);
  Scroll(IDC_IMAGE_VSCROLL, SB_TOP);
  EXPECT_EQ(PagePixels(page_.m_hWnd).at(view.left, view.top), Decoded(640).at(5, 0) & 0xFFFFFF);
}

TEST_F(BitmapResPageTest, SmallBitmapsShowWithButtonFaceStripsAndIconsAndCursorsAtTheirOwnSize) {
  const RECT view = page_.ViewRect();
  const uint32_t face = Rgb(::GetSysColor(COLOR_BTNFACE));
  // Every depth and header kind, decoded by the program and drawn as is.
  for (uint16_t id : std::initializer_list<uint16_t>{1, 4, 8, 17, 24, 33, 108, 200, 204}) {
    SCOPED_TRACE(id);
    page_.ShowBitmap(module_, ResourceName::Number(id));
    ASSERT_NE(page_.Bitmap(), nullptr);
    const BitmapPixels expected = Decoded(id);
    const Pixels shown = PagePixels(page_.m_hWnd);
    const int w = static_cast<int>(expected.width), h = static_cast<int>(expected.height);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(shown.at(view.left + x, view.top + y),
                  expected.at(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) & 0xFFFFFF)
            << x << "," << y;
    // The strips to the right (full height) and below (full width).
    EXPECT_EQ(shown.at(view.left + w, view.top), face);
    EXPECT_EQ(shown.at(view.right - 1, view.bottom - 1), face);
    EXPECT_EQ(shown.at(view.left, view.top + h), face);
    EXPECT_EQ(shown.at(view.right - 1, view.top), face);
    // A bitmap that fits cannot scroll.
    EXPECT_EQ(Scroll(IDC_IMAGE_HSCROLL, SB_PAGERIGHT), 0);
    EXPECT_EQ(Scroll(IDC_IMAGE_VSCROLL, SB_BOTTOM), 0);
  }

  // A 16 x 16 icon and a 48 x 48 cursor, each at its own size (the
  // system's icon size is 32) at the view's corner, without scroll bars.
  const struct {
    bool cursor;
    uint16_t id;
    int side;
  } images[] = {{false, 1, 16}, {true, 2, 48}};
  for (const auto& image : images) {
    SCOPED_TRACE(image.id);
    if (image.cursor)
      page_.ShowCursor(module_, ResourceName::Number(image.id));
    else
      page_.ShowIcon(module_, ResourceName::Number(image.id));
    ASSERT_NE(page_.Icon(), nullptr);
    EXPECT_EQ(page_.Bitmap(), nullptr);
    EXPECT_EQ(page_.Metrics().bmWidth, 0);
    EXPECT_FALSE(Visible(Bar(IDC_IMAGE_HSCROLL)));
    EXPECT_FALSE(Visible(Bar(IDC_IMAGE_VSCROLL)));
    const Pixels shown = PagePixels(page_.m_hWnd);
    // (1, 0) is opaque in every fixture image; nothing past the image.
    EXPECT_NE(shown.at(view.left + 1, view.top), kUntouched);
    EXPECT_NE(shown.at(view.left + image.side - 2, view.top + image.side - 1), kUntouched);
    EXPECT_EQ(shown.at(view.left + image.side + 1, view.top + 1), kUntouched);
    EXPECT_EQ(shown.at(view.left + 1, view.top + image.side + 1), kUntouched);
  }

  // A resource that is not there leaves the page empty.
  page_.ShowBitmap(module_, ResourceName::Number(999));
  EXPECT_EQ(page_.Bitmap(), nullptr);
  EXPECT_EQ(page_.Icon(), nullptr);
  EXPECT_FALSE(Visible(Bar(IDC_IMAGE_HSCROLL)));
}

TEST_F(BitmapResPageTest, DialogPicturesOfBothTemplateFormsShowTheirControls) {
  const uint32_t face = Rgb(::GetSysColor(COLOR_BTNFACE));
  const uint32_t window = Rgb(::GetSysColor(COLOR_WINDOW));
  for (const char* arch : {"x86_64", "i686"}) {
    CResourceModule module(*SystemPlatform().files);
    ASSERT_TRUE(module.Enumerate(Fixture(arch, "images.dll")));
    for (uint16_t id : std::initializer_list<uint16_t>{100, 101}) {
      SCOPED_TRACE(std::string(arch) + " " + std::to_string(id));
      page_.ShowDialog(module, ResourceName::Number(id));
      ASSERT_NE(page_.Bitmap(), nullptr);
      EXPECT_TRUE(DialogButtonsShown());
      EXPECT_TRUE(Visible(Bar(IDC_IMAGE_HSCROLL)));

      // The same dialog made live: the picture has its window's size, and
      // its client area shows text and control faces, not one flat colour.
      std::unique_ptr<CTemplateDialog> live;
      ASSERT_TRUE(CreateDialogFromTemplate(module, ResourceName::Number(id), live, host_.m_hWnd));
      RECT outer{}, client{};
      ::GetWindowRect(live->m_hWnd, &outer);
      ::GetClientRect(live->m_hWnd, &client);
      ::MapWindowPoints(live->m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
      EXPECT_EQ(page_.Metrics().bmWidth, outer.right - outer.left);
      EXPECT_EQ(page_.Metrics().bmHeight, outer.bottom - outer.top);
      const Pixels picture = BitmapPixelsOf(page_.Bitmap());
      int dark = 0, white = 0, other = 0;
      for (int y = client.top - outer.top; y < client.bottom - outer.top && y < picture.height; ++y) {
        for (int x = client.left - outer.left; x < client.right - outer.left && x < picture.width; ++x) {
          const uint32_t c = picture.at(x, y);
          if (((c >> 16) & 255) < 80 && ((c >> 8) & 255) < 80 && (c & 255) < 80) ++dark;
          if (c == window) ++white;
          if (c != face) ++other;
        }
      }
      EXPECT_GT(dark, 40) << "the controls' texts";
      EXPECT_GT(other, 200);
      if (id == 100) {
        EXPECT_GT(white, 400) << "the edit and the list box";
      }
    }
  }
  // A template the program refuses (it names a class of its own) shows
  // nothing, and the dialog buttons go.
  page_.ShowDialog(module_, ResourceName::String("OPTIONS"));
  EXPECT_EQ(page_.Bitmap(), nullptr);
  EXPECT_FALSE(DialogButtonsShown());
  // "Probar diálogo" runs the dialog shown in the test window.
  page_.ShowDialog(module_, ResourceName::Number(100));
  bool childShown = false;
  ModalDriver driver;
  driver.On(L"Prueba de diálogo", [&](HWND test) {
    childShown = ::GetDlgItem(::FindWindowExW(test, nullptr, nullptr, L"Plain \"dialog\""), 1005) != nullptr;
    ModalDriver::Press(test, IDCANCEL);
  });
  ::SendMessageW(page_.m_hWnd, WM_COMMAND, IDC_TEST_DIALOG, 0);
  EXPECT_TRUE(driver.AllDone());
  EXPECT_TRUE(childShown);
  EXPECT_TRUE(messages_.shown.empty());
  // An icon, a cursor or a bitmap has no dialog to save or run: the
  // buttons go.
  page_.ShowIcon(module_, ResourceName::Number(1));
  EXPECT_FALSE(DialogButtonsShown());
  page_.ShowDialog(module_, ResourceName::Number(100));
  page_.ShowCursor(module_, ResourceName::Number(2));
  EXPECT_FALSE(DialogButtonsShown());
  page_.ShowDialog(module_, ResourceName::Number(100));
  page_.ShowBitmap(module_, ResourceName::Number(24));
  EXPECT_FALSE(DialogButtonsShown());
}

TEST_F(BitmapResPageTest, SavesWriteTheResourceOrThePictureAndARefusedSaveKeepsTheFileThatWasThere) {
  // A bitmap goes out as the module holds it: the same pixels read back.
  for (uint16_t id : std::initializer_list<uint16_t>{8, 204, 640}) {
    SCOPED_TRACE(id);
    page_.ShowBitmap(module_, ResourceName::Number(id));
    const fs::path path = dir_ / ("b" + std::to_string(id) + ".bmp");
    ASSERT_TRUE(SaveAsBitmap(path));
    const auto file = ReadFileBytes(path);
    auto readBack = ReadBitmapFilePixels(ByteView(file));
    ASSERT_TRUE(readBack);
    const BitmapPixels expected = Decoded(id);
    EXPECT_EQ(readBack->width, expected.width);
    EXPECT_EQ(readBack->height, expected.height);
    EXPECT_TRUE(readBack->argb == expected.argb);
  }
  // A dialog picture as it shows; its script as resource text.
  page_.ShowDialog(module_, ResourceName::Number(100));
  const fs::path picturePath = dir_ / "dialog.bmp";
  ASSERT_TRUE(SaveAsBitmap(picturePath));
  const auto pictureFile = ReadFileBytes(picturePath);
  auto picture = ReadBitmapFilePixels(ByteView(pictureFile));
  ASSERT_TRUE(picture);
  const Pixels shown = BitmapPixelsOf(page_.Bitmap());
  ASSERT_EQ(static_cast<int>(picture->width), shown.width);
  ASSERT_EQ(static_cast<int>(picture->height), shown.height);
  for (int y = 0; y < shown.height; y += 7)
    for (int x = 0; x < shown.width; x += 5)
      ASSERT_EQ(picture->at(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) & 0xFFFFFF, shown.at(x, y))
          << x << "," << y;
  {
    const fs::path script = dir_ / "dialog.rc";
    FileDialogAnswer answer(script.wstring());
    ::SendMessageW(page_.m_hWnd, WM_COMMAND, IDC_SAVE_AS_RESOURCE, 0);
    ASSERT_TRUE(answer.Answered());
    const auto text = ReadFileBytes(script);
    EXPECT_NE(std::string(text.begin(), text.end()).find("100 DIALOG 10, 20, 200, 100\r\n"), std::string::npos);
  }
  EXPECT_TRUE(messages_.shown.empty());

  // An icon shown: nothing to save, the message at once, no file dialog.
  const fs::path kept = dir_ / "kept.bmp";
  std::ofstream(kept) << "previous";
  page_.ShowIcon(module_, ResourceName::Number(1));
  EXPECT_FALSE(SaveAsBitmap(kept));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Se ha producido un error grabando el bitmap en un archivo");
  EXPECT_EQ(messages_.shown[0].flags, MB_ICONEXCLAMATION_);

  // A write that fails keeps the old file whole: the name is so long in
  // UTF-8 (242 bytes of "ñ") that the file written beside it cannot be made.
  const fs::path locked = dir_ / (std::wstring(121, L'\u00f1') + L".bmp");
  std::ofstream(locked) << "previous";
  page_.ShowBitmap(module_, ResourceName::Number(24));
  {
    OverwriteAnswer yes;
    EXPECT_TRUE(SaveAsBitmap(locked));
  }
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[1].text, "Se ha producido un error grabando el bitmap en un archivo");
  const auto lockedBytes = ReadFileBytes(locked), keptBytes = ReadFileBytes(kept);
  EXPECT_EQ(std::string(lockedBytes.begin(), lockedBytes.end()), "previous");
  EXPECT_EQ(std::string(keptBytes.begin(), keptBytes.end()), "previous");
}

TEST_F(BitmapResPageTest, ABitmapPastTheBudgetShowsWhyInsteadAndStillSavesAsItIs) {
  // 8192 x 8192 pixels of RLE8 in 22 bytes, the module's only bitmap.
  std::vector<uint8_t> dib;
  for (uint32_t word : {40u, 8192u, 8192u, 0x00080001u, uint32_t{BI_RLE8}, 22u, 0u, 0u, 1u, 0u, 0x00FF8040u})
    test::Append32(dib, word);
  for (int run = 0; run < 10; ++run) dib.insert(dib.end(), {255, 0});
  dib.insert(dib.end(), {0, 1});
  const fs::path modulePath = dir_ / "bomb.dll";
  {
    const auto file = test::ImageWithSection(
        test::ResourceSection({{ResourceName::Number(kRtBitmap), ResourceName::Number(1), 0, dib}}));
    std::ofstream(modulePath, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  CResourceModule bomb(*SystemPlatform().files);
  ASSERT_TRUE(bomb.Enumerate(modulePath.string()));
  page_.ShowBitmap(bomb, ResourceName::Number(1));
  EXPECT_EQ(page_.Bitmap(), nullptr);
  EXPECT_EQ(page_.Notice().rfind("Este bitmap de 8.192 x 8.192 píxeles", 0), 0u) << page_.Notice();
  EXPECT_FALSE(Visible(Bar(IDC_IMAGE_HSCROLL)));
  // The text is drawn where the image would be.
  const RECT view = page_.ViewRect();
  const Pixels shown = PagePixels(page_.m_hWnd);
  int ink = 0;
  for (int y = view.top; y < view.bottom; ++y)
    for (int x = view.left; x < view.right; ++x) ink += shown.at(x, y) != kUntouched;
  EXPECT_GT(ink, 50);

  const fs::path saved = dir_ / "bomb.bmp";
  ASSERT_TRUE(SaveAsBitmap(saved));
  EXPECT_EQ(ReadFileBytes(saved).size(), 14 + dib.size());
  EXPECT_TRUE(messages_.shown.empty());
  // The next image takes the text away.
  page_.ShowBitmap(module_, ResourceName::Number(24));
  EXPECT_TRUE(page_.Notice().empty());
}

// The browser shows the page for bitmaps, dialogs, icons and cursors.
TEST(BitmapResPageInBrowser, SelectingImageResourcesShowsThePage) {
  LoadProgramResources();
  struct Seen {
    bool shown = false;
    LONG width = 0;
    bool picture = false;
    bool icon = false;
    bool cursor = false;
  } seen;
  ModalDriver driver;
  driver.On(L"Recursos de un módulo", [&](HWND dialog) {
    auto* browser = static_cast<CModuleResourcesDlg*>(fw::CWnd::FromHandle(dialog));
    HWND pageWindow = browser->PageWindow(ResourcePage::Bitmap);
    auto* page = static_cast<CBitmapResPage*>(fw::CWnd::FromHandle(pageWindow));
    HWND tree = ::GetDlgItem(dialog, IDC_ITEM_TREE);
    auto child = [&](HTREEITEM parent, const std::string& label) {
      for (HTREEITEM item = NextItem(tree, parent, TVGN_CHILD); item; item = NextItem(tree, item, TVGN_NEXT))
        if (TreeText(tree, item) == label) return item;
      return HTREEITEM{};
    };
    auto select = [&](const std::string& type, const std::string& name) {
      HTREEITEM item = child(child(NextItem(tree, nullptr, TVGN_ROOT), type), name);
      SelectTreeItem(tree, item);
      return item != nullptr;
    };
    if (page && select("Bitmap", "640")) {
      seen.shown = ::IsWindowVisible(pageWindow) != FALSE;
      seen.width = page->Metrics().bmWidth;
      if (select("Dialog", "101")) seen.picture = page->Bitmap() != nullptr && page->Metrics().bmWidth > 0;
      if (select("Icon", "1")) seen.icon = page->Icon() != nullptr;
      if (select("Cursor", "2")) seen.cursor = page->Icon() != nullptr;
    }
    ModalDriver::Press(dialog, IDCANCEL);
  });
  CModuleResourcesDlg browser(SystemPlatform(), nullptr, Fixture("x86_64", "images.dll"));
  browser.DoModal();
  EXPECT_TRUE(driver.AllDone());
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.width, 640);
  EXPECT_TRUE(seen.picture);
  EXPECT_TRUE(seen.icon);
  EXPECT_TRUE(seen.cursor);
}

}  // namespace
}  // namespace qm
