// The version reader parses blocks itself; here it must agree with the
// platform's GetFileVersionInfoW and VerQueryValueW on Wine's own modules and
// on the fixtures.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "common/text.h"
#include "platform/platform.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "resources/file_version_info.h"

namespace qm {
namespace {

constexpr const char* kKeys[] = {"ProductName",     "ProductVersion",  "InternalName", "OriginalFilename",
                                 "FileDescription", "FileVersion",     "Comments",     "CompanyName",
                                 "LegalCopyright",  "LegalTrademarks", "PrivateBuild", "SpecialBuild"};

// What the platform itself says about a file.
class PlatformVersion {
 public:
  explicit PlatformVersion(const std::string& path) {
    const std::wstring wide = Widen(path);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(wide.c_str(), &handle);
    if (size == 0) return;
    block_.resize(size);
    if (!::GetFileVersionInfoW(wide.c_str(), 0, size, block_.data())) block_.clear();
  }

  bool loaded() const { return !block_.empty(); }

  std::vector<uint32_t> Translations() const {
    std::vector<uint32_t> out;
    void* value = nullptr;
    UINT length = 0;
    if (!loaded() || !::VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &value, &length) || !value)
      return out;
    for (UINT i = 0; i < length / 4; ++i) out.push_back(static_cast<const uint32_t*>(value)[i]);
    return out;
  }

  std::string String(uint32_t translation, const char* key) const {
    const std::string path = Format("\\StringFileInfo\\%04x%04x\\%s", translation & 0xFFFF, translation >> 16, key);
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block_.data(), Widen(path).c_str(), &value, &length) || !value || length < 1) return {};
    return Narrow(static_cast<const wchar_t*>(value));
  }

  std::optional<VS_FIXEDFILEINFO> Fixed() const {
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block_.data(), L"\\", &value, &length) || !value || length == 0) return std::nullopt;
    return *static_cast<const VS_FIXEDFILEINFO*>(value);
  }

 private:
  mutable std::vector<uint8_t> block_;
};

std::string VersionText(DWORD ms, DWORD ls) {
  return Format("v%u.%u.%u.%u", static_cast<unsigned>(ms >> 16), static_cast<unsigned>(ms & 0xFFFF),
                static_cast<unsigned>(ls >> 16), static_cast<unsigned>(ls & 0xFFFF));
}

// Compares every field of every translation; returns how many translations
// the file has, so that callers can insist on real data.
size_t ExpectAgreement(const std::string& path) {
  SCOPED_TRACE(path);
  Platform& platform = SystemPlatform();
  PlatformVersion expected(path);
  CFileVersionInfo info(platform, path);
  const std::vector<uint32_t> translations = expected.Translations();
  EXPECT_EQ(info.GetOpenFailure() == VersionOpenFailure::None, !translations.empty());
  if (translations.empty()) return 0;

  const auto fixed = expected.Fixed();
  for (size_t n = 0; n < translations.size(); ++n) {
    if (!info.SelectTranslation(static_cast<int>(n))) {
      ADD_FAILURE() << "translation " << n << " not selected";
      return 0;
    }
    EXPECT_EQ(info.GetTranslation(), translations[n]);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(info.GetField(i), expected.String(translations[n], kKeys[i])) << kKeys[i];
    if (!fixed) {
      for (int i = 20; i < 28; ++i) EXPECT_EQ(info.GetField(i), "") << i;
      continue;
    }
    EXPECT_EQ(info.GetField(VersionField::FixedFileVersion),
              VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
    EXPECT_EQ(info.GetField(VersionField::FixedProductVersion),
              VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    EXPECT_EQ(info.GetField(VersionField::FixedFileFlagsMask),
              Format("0x%x", static_cast<unsigned>(fixed->dwFileFlagsMask)));
    EXPECT_EQ(info.GetField(VersionField::FixedFileFlags), Format("0x%x", static_cast<unsigned>(fixed->dwFileFlags)));
    EXPECT_EQ(info.GetField(VersionField::FixedFileOS), FileOsName(fixed->dwFileOS));
    EXPECT_EQ(info.GetField(VersionField::FixedFileType), FileTypeName(fixed->dwFileType));
    EXPECT_EQ(info.GetField(VersionField::FixedFileSubtype), FileSubtypeName(fixed->dwFileType, fixed->dwFileSubtype));
    const uint64_t date = (uint64_t{fixed->dwFileDateMS} << 32) | fixed->dwFileDateLS;
    EXPECT_EQ(info.GetField(VersionField::FixedFileDate),
              date ? platform.locale->FileTimeToText(date).value_or("") : std::string("null"));
  }
  EXPECT_FALSE(info.SelectTranslation(static_cast<int>(translations.size())));
  return translations.size();
}

TEST(VersionInfoWin, AgreesWithThePlatformOnWinesOwnModules) {
  for (const char* name : {"kernel32.dll", "user32.dll", "comctl32.dll", "shell32.dll", "notepad.exe"}) {
    const std::string path = std::string("C:\\windows\\system32\\") + name;
    const size_t translations = ExpectAgreement(path);
    if (std::string(name) == "kernel32.dll") {
      EXPECT_GE(translations, 1u) << "kernel32.dll has version data";
    }
  }
}

TEST(VersionInfoWin, AgreesWithThePlatformOnTheFixtures) {
  for (const char* arch : {"x86_64", "i686"}) {
    const std::string dir = std::string(QM_FIXTURE_DIR) + "\\" + arch + "\\";
    EXPECT_EQ(ExpectAgreement(dir + "version_two.exe"), 2u);
    EXPECT_EQ(ExpectAgreement(dir + "version_driver.dll"), 1u);
    EXPECT_EQ(ExpectAgreement(dir + "version_font.dll"), 1u);
    EXPECT_EQ(ExpectAgreement(dir + "version_notrans.dll"), 0u);
  }
}

TEST(VersionInfoWin, LanguageNamesComeFromThePlatform) {
  CFileVersionInfo info(SystemPlatform(), std::string(QM_FIXTURE_DIR) + "\\x86_64\\version_two.exe");
  ASSERT_TRUE(info.SelectTranslation(1));
  wchar_t name[256] = {};
  ASSERT_GT(::VerLanguageNameW(0x0C0A, name, 256), 0u);
  EXPECT_EQ(info.GetLanguageName(), Narrow(name));
  // The name ends at its terminator (Wine counts the terminator in its length).
  EXPECT_EQ(info.GetLanguageName().find('\0'), std::string::npos);
}

TEST(VersionInfoWin, EmptyPathReadsTheRunningProgram) {
  Platform& platform = SystemPlatform();
  CFileVersionInfo self(platform);
  EXPECT_EQ(self.GetPath(), platform.files->GetModuleFileName());
  DWORD handle = 0;
  const bool platformHasBlock = ::GetFileVersionInfoSizeW(Widen(self.GetPath()).c_str(), &handle) != 0;
  EXPECT_EQ(self.GetOpenFailure() != VersionOpenFailure::NoVersionResource, platformHasBlock);
}

}  // namespace
}  // namespace qm
