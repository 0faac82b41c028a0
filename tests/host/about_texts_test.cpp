// The About box's texts from a version block, and its link's rules.
#include "app/about_texts.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/sim/sim_system.h"

namespace qm {
namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
  std::ifstream in(std::string(QM_FIXTURE_DIR) + "/x86_64/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(AboutTexts, LinesJoinTheFirstTranslationsFieldsAndAMissingBuildReadsRelease) {
  SimSystem sim;
  sim.files.files[sim.files.modulePath] = Fixture("version_two.exe");
  const AboutTexts own = ReadAboutTexts(sim.platform);
  EXPECT_EQ(own.groupCaption, "version_two.exe");
  EXPECT_EQ(own.line1, "version_two  v5.1.2600.0  special");
  EXPECT_EQ(own.line2, "Two translations");
  EXPECT_EQ(own.line3, "Copyright (C) 2026 Karvonel Karvonel");
  EXPECT_EQ(own.link, "http://quillmar.karvonel.example/fixtures");

  // A file without version data: empty fields, still a build name.
  sim.files.files["C:\\f\\empty.dll"] = Fixture("empty.dll");
  const AboutTexts none = ReadAboutTexts(sim.platform, "C:\\f\\empty.dll");
  EXPECT_EQ(none.line1, "  v  Release");
  EXPECT_EQ(none.link, "");
}

TEST(AboutTexts, OnlyAPlainWebAddressOpensAndAFailureNamesIt) {
  EXPECT_TRUE(IsOpenableLink("http://example.org"));
  EXPECT_FALSE(IsOpenableLink("HTTP://example.org"));
  EXPECT_FALSE(IsOpenableLink("file:///etc/passwd"));
  EXPECT_FALSE(IsOpenableLink(""));
  SimStrings strings;
  EXPECT_NE(LinkFailureText(strings, "http://x.example").find("http://x.example"), std::string::npos);
}

}  // namespace
}  // namespace qm
