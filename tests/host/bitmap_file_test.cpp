#include "resources/bitmap_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "resources/resource_directory.h"
#include "resources/resource_types.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::ReadFileBytes;

// The formulas tools/make-image-fixtures.py draws with.
uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }
uint32_t PaletteColour(uint32_t i) { return Rgb((i * 37) & 255, (i * 91) & 255, (i * 53) & 255); }
uint32_t IndexAt(uint32_t x, uint32_t y, uint32_t colours) { return (x * 3 + y * 5) % colours; }
uint32_t RleIndexAt(uint32_t x, uint32_t y, uint32_t colours) { return (x / 3 + y) % colours; }
uint32_t R(uint32_t x, uint32_t y) { return (x * 40 + y * 7) & 255; }
uint32_t G(uint32_t x, uint32_t y) { return (y * 50 + x) & 255; }
uint32_t B(uint32_t x, uint32_t y) { return (x * y * 9) & 255; }
uint32_t Expand(uint32_t value, uint32_t bits) { return value * 255 / ((1u << bits) - 1); }

struct FixtureBitmap {
  uint16_t id;
  const char* file;
  uint32_t width, height;
  std::function<uint32_t(uint32_t, uint32_t)> expected;
};

std::vector<FixtureBitmap> FixtureBitmaps() {
  auto indexed = [](uint32_t n) { return [n](uint32_t x, uint32_t y) { return PaletteColour(IndexAt(x, y, n)); }; };
  auto rle = [](uint32_t n) { return [n](uint32_t x, uint32_t y) { return PaletteColour(RleIndexAt(x, y, n)); }; };
  auto direct = [](uint32_t x, uint32_t y) { return Rgb(R(x, y), G(x, y), B(x, y)); };
  auto rgb555 = [](uint32_t x, uint32_t y) {
    return Rgb(Expand(R(x, y) >> 3, 5), Expand(G(x, y) >> 3, 5), Expand(B(x, y) >> 3, 5));
  };
  auto rgb565 = [](uint32_t x, uint32_t y) {
    return Rgb(Expand(R(x, y) >> 3, 5), Expand(G(x, y) >> 2, 6), Expand(B(x, y) >> 3, 5));
  };
  return {
      {1, "bmp_1.bmp", 13, 5, indexed(2)},        {4, "bmp_4.bmp", 7, 3, indexed(16)},
      {8, "bmp_8.bmp", 5, 4, indexed(256)},       {9, "bmp_8_short_palette.bmp", 6, 3, indexed(6)},
      {16, "bmp_16.bmp", 3, 3, rgb555},           {17, "bmp_16_bitfields.bmp", 5, 2, rgb565},
      {24, "bmp_24.bmp", 3, 2, direct},           {32, "bmp_32.bmp", 4, 3, direct},
      {33, "bmp_32_bitfields.bmp", 3, 3, direct}, {108, "bmp_core_8.bmp", 5, 3, indexed(256)},
      {124, "bmp_core_24.bmp", 3, 2, direct},     {200, "bmp_top_down.bmp", 4, 3, direct},
      {208, "bmp_rle8.bmp", 10, 4, rle(256)},     {204, "bmp_rle4.bmp", 11, 4, rle(16)},
  };
}

void ExpectPixels(const BitmapPixels& pixels, const FixtureBitmap& bitmap, const std::string& what) {
  ASSERT_EQ(pixels.width, bitmap.width) << what;
  ASSERT_EQ(pixels.height, bitmap.height) << what;
  for (uint32_t y = 0; y < bitmap.height; ++y)
    for (uint32_t x = 0; x < bitmap.width; ++x)
      ASSERT_EQ(pixels.at(x, y), bitmap.expected(x, y)) << what << " at " << x << "," << y;
}

class TempDir {
 public:
  TempDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("qm-bitmap-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

TEST(BitmapFile, EveryFixtureDepthDecodesWritesAndReadsBackWithTheSamePixels) {
  TempDir dir;
  for (const char* arch : {"x86_64", "i686"}) {
    const auto module = ReadFileBytes(std::string(QM_FIXTURE_DIR) + "/" + arch + "/images.dll");
    auto image = PeImage::Parse(ByteView(module));
    ASSERT_TRUE(image) << arch;
    auto resources = ResourceDirectory::Parse(*image);
    ASSERT_TRUE(resources) << arch;
    for (const FixtureBitmap& bitmap : FixtureBitmaps()) {
      const std::string what = std::string(arch) + " " + bitmap.file;
      auto dib = resources->Load(*image, ResourceName::Number(kRtBitmap), ResourceName::Number(bitmap.id));
      ASSERT_TRUE(dib) << what;
      auto decoded = ReadBitmapPixels(*dib);
      ASSERT_TRUE(decoded) << what << ": " << DescribeError(decoded.error());
      ExpectPixels(*decoded, bitmap, what + " (resource)");

      // The generator's own file decodes to the same picture.
      const auto source = ReadFileBytes(std::string(QM_SOURCE_DIR) + "/tests/fixtures/images/" + bitmap.file);
      auto fromSource = ReadBitmapFilePixels(ByteView(source));
      ASSERT_TRUE(fromSource) << what;
      ExpectPixels(*fromSource, bitmap, what + " (source file)");

      const std::string out = dir.File(std::string(arch) + "-" + bitmap.file);
      auto written = WriteBitmapFile(*dib, out);
      ASSERT_TRUE(written) << what;
      const auto file = ReadFileBytes(out);
      ASSERT_EQ(file.size(), *written) << what;
      ByteView view(file);
      EXPECT_EQ(view.get<uint16_t>(0), 0x4D42) << what;
      EXPECT_EQ(view.get<uint32_t>(2), file.size()) << what;  // bfSize
      auto layout = ParseDib(*dib);
      ASSERT_TRUE(layout);
      EXPECT_EQ(view.get<uint32_t>(10), 14 + layout->pixelOffset) << what;  // bfOffBits
      auto readBack = ReadBitmapFilePixels(view);
      ASSERT_TRUE(readBack) << what;
      ExpectPixels(*readBack, bitmap, what + " (written file)");
    }
  }
}

// A little-endian DIB assembled field by field.
struct Dib {
  std::vector<uint8_t> bytes;
  Dib& u8(uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Dib& u16(uint32_t v) {
    test::Append16(bytes, v);
    return *this;
  }
  Dib& u32(uint32_t v) {
    test::Append32(bytes, v);
    return *this;
  }
  Dib& fill(size_t n, uint8_t v = 0) {
    bytes.insert(bytes.end(), n, v);
    return *this;
  }
  void put32(size_t at, uint32_t v) { test::Put32(bytes, at, v); }
  ByteView view() const { return ByteView(bytes); }
};

Dib InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression = BI_RGB, uint32_t sizeImage = 0,
               uint32_t clrUsed = 0) {
  Dib dib;
  dib.u32(40).u32(static_cast<uint32_t>(width)).u32(static_cast<uint32_t>(height)).u16(1).u16(bits);
  dib.u32(compression).u32(sizeImage).u32(0).u32(0).u32(clrUsed).u32(0);
  return dib;
}

TEST(BitmapFile, HeadersStateAlignedRowsAndTheRealTableLength) {
  // 24 bits, 3 by 2: rows of 9 bytes padded to 12.
  Dib rgb = InfoHeader(3, 2, 24);
  rgb.fill(24, 0x11);
  auto file = MakeBitmapFile(rgb.view());
  ASSERT_TRUE(file);
  ByteView view(*file);
  EXPECT_EQ(view.get<uint32_t>(2), 78u);        // bfSize
  EXPECT_EQ(view.get<uint32_t>(10), 54u);       // bfOffBits
  EXPECT_EQ(view.get<uint32_t>(14 + 20), 24u);  // biSizeImage
  EXPECT_EQ(view.get<uint32_t>(14 + 32), 0u);   // biClrUsed

  // 8 bits: 256 entries, pixels at 1078; 1 bit, 13 wide: 4-byte rows.
  Dib indexed = InfoHeader(5, 1, 8);
  indexed.fill(256 * 4).fill(8);
  file = MakeBitmapFile(indexed.view());
  ASSERT_TRUE(file);
  EXPECT_EQ(ByteView(*file).get<uint32_t>(10), 1078u);
  Dib mono = InfoHeader(13, 3, 1);
  mono.fill(2 * 4).fill(3 * 4);
  auto layout = ParseDib(mono.view());
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->stride, 4u);
  EXPECT_EQ(layout->pixelBytes, 12u);

  // A short palette: biClrUsed entries only; masks after a 40-byte header.
  Dib shortPalette = InfoHeader(2, 2, 8, BI_RGB, 0, 3);
  shortPalette.fill(3 * 4).fill(8);
  layout = ParseDib(shortPalette.view());
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->colorCount, 3u);
  EXPECT_EQ(layout->pixelOffset, 52u);
  Dib masked = InfoHeader(1, 1, 16, BI_BITFIELDS);
  masked.u32(0xF800).u32(0x07E0).u32(0x001F).u16(0xFFFF).u16(0);
  layout = ParseDib(masked.view());
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->pixelOffset, 52u);
  EXPECT_EQ(layout->masks[1], 0x07E0u);
  auto pixels = ReadBitmapPixels(masked.view());
  ASSERT_TRUE(pixels);
  EXPECT_EQ(pixels->at(0, 0), 0x00FFFFFFu);
}

TEST(BitmapFile, PixelDataEndingExactlyAtTheEndIsReadAndOneByteShortIsRefused) {
  Dib dib = InfoHeader(3, 2, 24);
  dib.fill(24);
  EXPECT_TRUE(ParseDib(dib.view()));
  dib.bytes.pop_back();
  auto refused = ParseDib(dib.view());
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().code, ReadError::OutOfBounds);

  // A colour table cut short, a header cut short.
  Dib table = InfoHeader(1, 1, 4);
  table.fill(15 * 4);
  EXPECT_FALSE(ParseDib(table.view()));
  Dib header = InfoHeader(1, 1, 24);
  header.bytes.resize(39);
  EXPECT_FALSE(ParseDib(header.view()));
  EXPECT_FALSE(ParseDib(ByteView()));
}

TEST(BitmapFile, MalformedHeadersAreRefused) {
  auto refusedWith = [](const Dib& dib) {
    auto layout = ParseDib(dib.view());
    return layout ? std::optional<ReadError>() : std::optional<ReadError>(layout.error().code);
  };
  // width × height past the cap, and near the top of the 32-bit range.
  Dib huge = InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 1);
  huge.fill(8);
  EXPECT_EQ(refusedWith(huge), ReadError::TooMany);
  Dib wide = InfoHeader(1 << 14, 1 << 13, 32);
  EXPECT_EQ(refusedWith(wide), ReadError::TooMany);
  Dib rows = InfoHeader(1, -0x7FFFFFFF, 8);
  EXPECT_EQ(refusedWith(rows), ReadError::TooMany);

  EXPECT_EQ(refusedWith(InfoHeader(-4, 2, 24).fill(64)), ReadError::BadValue);  // negative width
  EXPECT_EQ(refusedWith(InfoHeader(0, 2, 24).fill(64)), ReadError::BadValue);
  EXPECT_EQ(refusedWith(InfoHeader(4, 0, 24).fill(64)), ReadError::BadValue);
  EXPECT_EQ(refusedWith(InfoHeader(4, INT32_MIN, 24).fill(64)), ReadError::BadValue);
  EXPECT_EQ(refusedWith(InfoHeader(4, 2, 7).fill(64)), ReadError::BadValue);  // no such depth
  EXPECT_EQ(refusedWith(InfoHeader(2, 2, 8, BI_RGB, 0, 257).fill(2048)), ReadError::BadValue);
  EXPECT_EQ(refusedWith(InfoHeader(2, 2, 1, BI_RGB, 0, 3).fill(64)), ReadError::BadValue);
  EXPECT_EQ(refusedWith(InfoHeader(2, 2, 24, BI_RGB, 0, 257).fill(2048)), ReadError::BadValue);
  EXPECT_EQ(refusedWith(InfoHeader(2, 2, 24, BI_BITFIELDS).fill(64)), ReadError::BadValue);
  EXPECT_EQ(refusedWith(InfoHeader(2, 2, 4, BI_RLE8, 4).fill(128)), ReadError::BadValue);
  EXPECT_EQ(refusedWith(InfoHeader(2, -2, 8, BI_RLE8, 4).fill(2048)), ReadError::BadValue);  // top-down RLE
  EXPECT_EQ(refusedWith(InfoHeader(2, 2, 8, BI_RLE8, 0).fill(2048)), ReadError::BadValue);   // no RLE size
  EXPECT_EQ(refusedWith(InfoHeader(2, 2, 24, 4).fill(64)), ReadError::BadValue);             // JPEG
  Dib rleTooLong = InfoHeader(2, 2, 8, BI_RLE8, 0xFFFFFFFF);
  rleTooLong.fill(1024 + 16);
  EXPECT_EQ(refusedWith(rleTooLong), ReadError::OutOfBounds);
  Dib planes = InfoHeader(2, 2, 24).fill(16);
  planes.bytes[12] = 2;
  EXPECT_EQ(refusedWith(planes), ReadError::BadValue);
  Dib size = InfoHeader(2, 2, 24).fill(16);
  size.put32(0, 41);
  EXPECT_EQ(refusedWith(size), ReadError::BadValue);
}

TEST(BitmapFile, CoreHeadersUseThreeByteColourEntries) {
  Dib core;
  core.u32(12).u16(2).u16(1).u16(1).u16(1);
  core.u8(0x10).u8(0x20).u8(0x30).u8(0xF0).u8(0xE0).u8(0xD0);  // blue, green, red
  core.u8(0x40).fill(3);                                       // pixels 0, 1
  auto pixels = ReadBitmapPixels(core.view());
  ASSERT_TRUE(pixels);
  EXPECT_EQ(pixels->at(0, 0), 0x302010u);
  EXPECT_EQ(pixels->at(1, 0), 0xD0E0F0u);
  auto file = MakeBitmapFile(core.view());
  ASSERT_TRUE(file);
  EXPECT_EQ(ByteView(*file).get<uint32_t>(10), 14u + 12 + 6);
  EXPECT_EQ(file->size(), 14u + 12 + 6 + 4);
}

TEST(BitmapFile, RleEscapesMoveSkipAndStopWithinTheBitmap) {
  // 4 by 3, 8 bits: row 0 a run of two 1s then end of line; a move by
  // (1, 1); an absolute run of three pixels (padded); end of bitmap.
  std::vector<uint8_t> data{2, 1, 0, 0, 0, 2, 1, 1, 0, 3, 2, 3, 1, 0, 0, 1};
  Dib dib = InfoHeader(4, 3, 8, BI_RLE8, static_cast<uint32_t>(data.size()), 4);
  for (uint32_t i = 0; i < 4; ++i) dib.u32(i * 0x111111);
  dib.bytes.insert(dib.bytes.end(), data.begin(), data.end());
  auto pixels = ReadBitmapPixels(dib.view());
  ASSERT_TRUE(pixels);
  // Stored rows count from the bottom: row 0 is y = 2.
  EXPECT_EQ(pixels->at(0, 2), 0x111111u);
  EXPECT_EQ(pixels->at(1, 2), 0x111111u);
  EXPECT_EQ(pixels->at(2, 2), 0u);
  EXPECT_EQ(pixels->at(0, 0), 0u);  // never drawn
  EXPECT_EQ(pixels->at(1, 0), 0x222222u);
  EXPECT_EQ(pixels->at(2, 0), 0x333333u);
  EXPECT_EQ(pixels->at(3, 0), 0x111111u);

  // Runs past the right edge are clipped; an absolute run cut short is an error.
  std::vector<uint8_t> clipped{255, 2, 0, 1};
  Dib wide = InfoHeader(4, 1, 8, BI_RLE8, 4, 4);
  wide.fill(16).bytes.insert(wide.bytes.end(), clipped.begin(), clipped.end());
  EXPECT_TRUE(ReadBitmapPixels(wide.view()));
  std::vector<uint8_t> cut{0, 5, 1, 2};
  Dib broken = InfoHeader(8, 1, 8, BI_RLE8, 4, 4);
  broken.fill(16).bytes.insert(broken.bytes.end(), cut.begin(), cut.end());
  EXPECT_FALSE(ReadBitmapPixels(broken.view()));
}

TEST(BitmapFile, DecodingIntoTheCallersPixelsMatchesTheOwnedDecodeAndClearsWhatRleSkips) {
  std::vector<uint8_t> data{2, 1, 0, 0, 0, 2, 1, 1, 0, 3, 2, 3, 1, 0, 0, 1};
  Dib dib = InfoHeader(4, 3, 8, BI_RLE8, static_cast<uint32_t>(data.size()), 4);
  for (uint32_t i = 0; i < 4; ++i) dib.u32(i * 0x111111);
  dib.bytes.insert(dib.bytes.end(), data.begin(), data.end());
  auto layout = ParseDib(dib.view());
  ASSERT_TRUE(layout);
  auto owned = ReadBitmapPixels(dib.view());
  ASSERT_TRUE(owned);
  // Memory that held something else: the pixels the stream skips are black.
  std::vector<uint32_t> pixels(12, 0xDEADBEEF);
  ASSERT_TRUE(DecodeBitmapPixels(dib.view(), *layout, pixels));
  EXPECT_EQ(pixels, owned->argb);
  // The buffer must hold the layout's pixels exactly.
  std::vector<uint32_t> small(11), large(13);
  EXPECT_FALSE(DecodeBitmapPixels(dib.view(), *layout, small));
  EXPECT_FALSE(DecodeBitmapPixels(dib.view(), *layout, large));
}

TEST(BitmapFile, AFailedExportLeavesAnExistingFileUntouched) {
  TempDir dir;
  const std::string target = dir.File("Bitmap.bmp");
  { std::ofstream(target, std::ios::binary) << "keep me"; }
  Dib bad = InfoHeader(3, 2, 24);
  bad.fill(23);  // one byte short
  auto failed = WriteBitmapFile(bad.view(), target);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error().code, ReadError::OutOfBounds);
  const auto kept = ReadFileBytes(target);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep me");

  Dib good = InfoHeader(3, 2, 24);
  good.fill(24);
  auto unwritable = WriteBitmapFile(good.view(), dir.File("missing/Bitmap.bmp"));
  ASSERT_FALSE(unwritable);
  EXPECT_EQ(unwritable.error().code, ReadError::Io);
  ASSERT_TRUE(WriteBitmapFile(good.view(), target));
  EXPECT_EQ(ReadFileBytes(target).size(), 78u);
  // Nothing but the target is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("")), {}), 1);
}

}  // namespace
}  // namespace qm
