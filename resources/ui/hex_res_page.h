#pragma once
// The page of the resource browser that shows the raw bytes of a resource
// without a page of its own: the hex dump of its first 16 KB in a fixed
// font, and its full size underneath. It mirrors resources/hex_dump.h.

#include "common/ui/toolbar_dialog.h"
#include "platform/system.h"
#include "res/resource_ids.h"
#include "resources/resource_module.h"

namespace qm {

class CHexResPage : public CToolBarDialog {
 public:
  explicit CHexResPage(const IStrings& strings) : strings_(strings) {}

  // The bytes of one resource (type and name as the model names them). A
  // resource that is missing or empty leaves the dump empty and its total
  // at 0 bytes.
  void ShowHexDump(const CResourceModule& module, const ResourceName& type, const ResourceName& name);

 protected:
  BOOL OnInitDialog() override;

 private:
  const IStrings& strings_;
  HWND dump_ = nullptr;  // the dump's edit control, bound when the page is made
};

}  // namespace qm
