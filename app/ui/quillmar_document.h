#pragma once
// The framework document of the application: it owns the portable
// CQuillmarDoc (the captured handle and its 29 properties) and has no
// content of its own, so saving it writes an empty file.

#include "app/quillmar_doc.h"
#include "framework/document.h"
#include "platform/win32/win32_system.h"
#include "resources/file_version_info.h"

namespace qm {

class CQuillmarDocument : public fw::CDocument {
 public:
  explicit CQuillmarDocument(Platform& platform) : m_doc(platform), platform_(platform) {}

  // Nothing captured; the title is the copyright line of the program's own
  // version block.
  bool OnNewDocument() override {
    m_doc.m_hCapturedWnd = 0;
    CFileVersionInfo ownVersion(platform_);
    m_title = Widen(ownVersion.GetField(VersionField::LegalCopyright));
    return true;
  }

  CQuillmarDoc m_doc;

 private:
  Platform& platform_;
};

}  // namespace qm
