#pragma once
// What the About box shows, read from a version block, and what its link
// line does: portable, so the rules are tested without the dialog.

#include <string>

#include "platform/platform.h"

namespace qm {

struct AboutTexts {
  std::string groupCaption;  // OriginalFilename
  std::string line1;         // "InternalName  vFileVersion  SpecialBuild or Release"
  std::string line2;         // FileDescription
  std::string line3;         // "LegalCopyright CompanyName"
  std::string link;          // Comments
};
// The texts of the program's own version block (empty path), or of a file.
AboutTexts ReadAboutTexts(const Platform& platform, const std::string& path = {});
// Whether a click on the link opens it: only a text that starts with the
// lower-case "http://" does.
bool IsOpenableLink(const std::string& text);
// The message shown when the link does not open.
std::string LinkFailureText(const IStrings& strings, const std::string& link);

}  // namespace qm
