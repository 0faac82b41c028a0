#include <gtest/gtest.h>

#include "headers/pe_image.h"
#include "platform/platform.h"
#include "platform/win32/win.h"

namespace qm {
namespace {

TEST(Win32System, ReadsItsOwnExecutableAsAPe32PlusImage) {
  Platform& platform = SystemPlatform();
  const std::string self = platform.files->GetModuleFileName();
  ASSERT_FALSE(self.empty());
  auto bytes = platform.files->ReadFile(self, 256u << 20);
  ASSERT_TRUE(bytes);
  auto image = PeImage::Parse(ByteView(*bytes));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->isPe32Plus(), sizeof(void*) == 8);
  EXPECT_EQ(image->fileHeader().Machine, sizeof(void*) == 8 ? 0x8664 : 0x014C);
}

TEST(Win32System, ErrorMessagesComeFromTheSystem) {
  Platform& platform = SystemPlatform();
  EXPECT_FALSE(platform.errors->FormatMessage(ERROR_ACCESS_DENIED).empty());
  EXPECT_EQ(platform.strings->LoadString(4105), "HWND");
  EXPECT_EQ(platform.strings->LoadString(4001), "Sí");
}

TEST(Win32System, TheLocaleLowersTextOfAnyScript) {
  const ILocale& locale = *SystemPlatform().locale;
  EXPECT_EQ(locale.LCMapLowerCase("ÉCOLE ЖУРНАЛ ΩΜΈΓΑ ԱՐԵՎ Ventana"), "école журнал ωμέγα արեվ ventana");
  EXPECT_EQ(locale.LCMapLowerCase("漢字 123"), "漢字 123");
  EXPECT_EQ(locale.LCMapLowerCase(""), "");
}

}  // namespace
}  // namespace qm
