#include "resources/dialog_creation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>

#include "resources/resource_directory.h"
#include "resources/resource_types.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

using test::ReadFileBytes;

bool NoOwnClass(std::string_view) { return false; }

class TemplatesForCreation : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    file_ = ReadFileBytes(std::string(QM_FIXTURE_DIR) + "/" + GetParam() + "/images.dll");
    auto image = PeImage::Parse(ByteView(file_));
    ASSERT_TRUE(image);
    image_ = std::move(image).value();
    auto resources = ResourceDirectory::Parse(*image_);
    ASSERT_TRUE(resources);
    resources_ = std::move(resources).value();
  }
  std::vector<uint8_t> Template(const ResourceName& name) {
    auto data = resources_.Load(*image_, ResourceName::Number(kRtDialog), name);
    if (!data) return {};
    return {data->data(), data->data() + data->size()};
  }

  std::vector<uint8_t> file_;
  std::optional<PeImage> image_;
  ResourceDirectory resources_;
};

// The platform trusts the template's counts: any cut that removes a field
// the decoder needs must keep the template from the platform.
TEST_P(TemplatesForCreation, WholeTemplatesPassAndEveryTruncationIsRefused) {
  for (const auto& name : {ResourceName::Number(100), ResourceName::Number(101), ResourceName::String("OPTIONS")}) {
    const std::vector<uint8_t> bytes = Template(name);
    ASSERT_GT(bytes.size(), 24u) << name.ToText();
    EXPECT_TRUE(CheckTemplateForCreation(ByteView(bytes), NoOwnClass)) << name.ToText();
    // The stored size may end with alignment bytes no field needs.
    for (size_t cut = 0; cut + 3 < bytes.size(); ++cut) {
      std::vector<uint8_t> shorter(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
      EXPECT_FALSE(CheckTemplateForCreation(ByteView(shorter), NoOwnClass)) << name.ToText() << " cut at " << cut;
    }
  }
}

TEST_P(TemplatesForCreation, OwnClassesAreRefusedInTheDialogAndInAnyControl) {
  const std::vector<uint8_t> options = Template(ResourceName::String("OPTIONS"));  // CLASS "QuillmarFixtureClass"
  const std::vector<uint8_t> plain = Template(ResourceName::Number(100));          // one "msctls_progress32" control
  // Class names match without regard to case (windres even stores the
  // dialog's class in capitals).
  const auto own = [](std::string name) {
    return [name](std::string_view asked) {
      return std::equal(name.begin(), name.end(), asked.begin(), asked.end(),
                        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
    };
  };
  auto refused = CheckTemplateForCreation(ByteView(options), own("QuillmarFixtureClass"));
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().code, ReadError::BadValue);
  EXPECT_FALSE(CheckTemplateForCreation(ByteView(plain), own("msctls_progress32")));
  // Predefined controls are stored as ordinals and never match a name.
  EXPECT_TRUE(CheckTemplateForCreation(ByteView(plain), own("Button")));
  EXPECT_TRUE(CheckTemplateForCreation(ByteView(options), own("msctls_progress32")));
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, TemplatesForCreation, ::testing::Values("x86_64", "i686"));

TEST(PaddedTemplateCopy, KeepsTheBytesAndEndsInZerosPastTheNextDword) {
  for (size_t size : {0u, 1u, 3u, 4u, 5u, 8u}) {
    std::vector<uint8_t> bytes(size, 0xAB);
    const std::vector<uint8_t> copy = PaddedTemplateCopy(ByteView(bytes));
    EXPECT_EQ(copy.size() % 4, 0u) << size;
    EXPECT_GE(copy.size(), size + 4) << size;
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), copy.begin())) << size;
    for (size_t i = size; i < copy.size(); ++i) EXPECT_EQ(copy[i], 0) << size;
  }
}

}  // namespace
}  // namespace qm
