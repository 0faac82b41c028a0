// Which language of a resource the program shows: the user's own first,
// then a neutral one, US English, the first stored; and the browser asks the
// platform for the user's language when it opens a module.
#include "resources/resource_language.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_system.h"
#include "resource_image.h"
#include "resources/resource_browser.h"
#include "resources/resource_module.h"
#include "resources/resource_types.h"

namespace qm {
namespace {

constexpr uint16_t kSpanishModern = 0x0C0A, kSpanishMexico = 0x080A, kGerman = 0x0407, kFrench = 0x040C;

// The language chosen among these stored ones, or -1 for none.
int Chosen(const std::vector<uint16_t>& stored, uint16_t uiLanguage) {
  std::vector<ResourceLanguage> languages;
  for (uint16_t id : stored) languages.push_back(ResourceLanguage{id, 0, 0, 0});
  const ResourceLanguage* chosen = ChooseResourceLanguage(languages, uiLanguage);
  return chosen ? chosen->language : -1;
}

TEST(ResourceLanguage, TheUsersOwnThenItsPrimaryLanguageThenNeutralUsEnglishAndTheFirst) {
  EXPECT_EQ(Chosen({}, kSpanishModern), -1);
  EXPECT_EQ(Chosen({0x0000, 0x0409, kSpanishModern}, kSpanishModern), kSpanishModern);
  // Another Spanish before neutral or English; the exact one before it.
  EXPECT_EQ(Chosen({0x0000, 0x0409, kSpanishMexico}, kSpanishModern), kSpanishMexico);
  EXPECT_EQ(Chosen({0x040A, kSpanishModern}, kSpanishMexico), 0x040A);
  EXPECT_EQ(Chosen({kSpanishMexico, kSpanishModern}, kSpanishModern), kSpanishModern);
  // Without the user's language: neutral, also with a sublanguage; then US
  // English; then the first stored.
  EXPECT_EQ(Chosen({0x0409, 0x0000}, kGerman), 0x0000);
  EXPECT_EQ(Chosen({0x0409, 0x0400}, kGerman), 0x0400);
  EXPECT_EQ(Chosen({0x0400, 0x0000}, kGerman), 0x0000);
  EXPECT_EQ(Chosen({kFrench, 0x0409}, kGerman), 0x0409);
  EXPECT_EQ(Chosen({kFrench, kSpanishModern}, kGerman), kFrench);
  // No UI language known (0) or a neutral one: the order without it, and a
  // neutral sublanguage never counts as "the same primary language".
  EXPECT_EQ(Chosen({kFrench, 0x0409}, 0), 0x0409);
  EXPECT_EQ(Chosen({kFrench, 0x0400}, 0x0800), 0x0400);
}

std::string Data(const CResourceModule& module, uint16_t name) {
  auto data = module.LoadResourceData(ResourceName::Number(kRtRcData), ResourceName::Number(name));
  if (!data) return "<missing>";
  const std::string text(data->data(), data->data() + data->size());
  return text.substr(0, text.find('\0'));
}

TEST(ResourceLanguage, TheModuleReadsAndSizesEachResourceInTheUsersLanguage) {
  for (const char* arch : {"x86_64", "i686"}) {
    SCOPED_TRACE(arch);
    // 200: German and US English; 201: German and Spanish; 202: neutral
    // and US English.
    const std::string path = std::string(QM_FIXTURE_DIR) + "/" + arch + "/resources.dll";
    CResourceModule module(*SystemPlatform().files);
    module.SetUiLanguage(kSpanishMexico);
    ASSERT_TRUE(module.Enumerate(path));
    EXPECT_EQ(Data(module, 200), "en-us");
    EXPECT_EQ(Data(module, 201), "es");
    EXPECT_EQ(Data(module, 202), "neutral");
    const ResourceName rcdata = ResourceName::Number(kRtRcData), english = ResourceName::Number(200);
    const uint32_t englishSize = module.ReadResource(rcdata, english);
    const uint32_t spanishTotal = module.GetTotalSize(rcdata);

    // The next enumeration takes a new language, for the bytes and the sizes.
    module.SetUiLanguage(kGerman);
    ASSERT_TRUE(module.Enumerate(path));
    EXPECT_EQ(Data(module, 200), "de");
    EXPECT_EQ(Data(module, 201), "de");
    const uint32_t germanSize = module.ReadResource(rcdata, english);
    EXPECT_EQ(germanSize, module.LoadResourceData(rcdata, english)->size());
    EXPECT_EQ(englishSize - germanSize, 3u) << "en-us against de";
    EXPECT_EQ(spanishTotal - module.GetTotalSize(rcdata), 3u);
  }
}

TEST(ResourceLanguage, TheBrowserShowsTheStringTableOfTheUsersLanguage) {
  // Block 1 (strings 0 to 15) in US English and in Spanish, English first.
  auto block = [](const std::string& first) {
    std::vector<uint8_t> bytes;
    test::Append16(bytes, static_cast<uint32_t>(first.size()));
    test::AppendAscii16(bytes, first);
    for (int i = 1; i < 16; ++i) test::Append16(bytes, 0);
    return bytes;
  };
  const ResourceName strings = ResourceName::Number(kRtString), one = ResourceName::Number(1);
  SimSystem sim;
  sim.files.files["C:\\shell.dll"] = test::ImageWithSection(
      test::ResourceSection({{strings, one, 0x0409, block("Open")}, {strings, one, kSpanishModern, block("Abrir")}}));
  std::vector<std::string> texts;

  CResourceModule english(sim.files);
  ASSERT_TRUE(OpenForBrowsing(english, "C:\\shell.dll", sim.platform).opened);
  ASSERT_TRUE(english.LoadStringBlock(one, texts));
  EXPECT_EQ(texts[0], "Open") << "no UI language: US English before the first stored";

  sim.locale.uiLanguage = kSpanishModern;
  CResourceModule spanish(sim.files);
  ASSERT_TRUE(OpenForBrowsing(spanish, "C:\\shell.dll", sim.platform).opened);
  ASSERT_TRUE(spanish.LoadStringBlock(one, texts));
  EXPECT_EQ(texts[0], "Abrir");
  EXPECT_EQ(spanish.GetTotalSize(strings), 2u + 2u * 5u + 15u * 2u);
}

}  // namespace
}  // namespace qm
