#include "app/about_texts.h"

#include "common/text.h"
#include "res/string_ids.h"
#include "resources/file_version_info.h"

namespace qm {

AboutTexts ReadAboutTexts(const Platform& platform, const std::string& path) {
  CFileVersionInfo version(platform, path);
  auto field = [&](VersionField f) { return version.GetField(f); };
  std::string build = field(VersionField::SpecialBuild);
  if (build.empty()) build = "Release";
  AboutTexts texts;
  texts.groupCaption = field(VersionField::OriginalFilename);
  texts.line1 = field(VersionField::InternalName) + "  v" + field(VersionField::FileVersion) + "  " + build;
  texts.line2 = field(VersionField::FileDescription);
  texts.line3 = field(VersionField::LegalCopyright) + " " + field(VersionField::CompanyName);
  texts.link = field(VersionField::Comments);
  return texts;
}

bool IsOpenableLink(const std::string& text) { return text.starts_with("http://"); }

std::string LinkFailureText(const IStrings& strings, const std::string& link) {
  return FormatTable(strings.LoadString(IDS_URL_ERROR), {link});
}

}  // namespace qm
