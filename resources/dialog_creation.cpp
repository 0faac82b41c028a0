#include "resources/dialog_creation.h"

namespace qm {

Result<DialogTemplate> CheckTemplateForCreation(ByteView bytes,
                                                const std::function<bool(std::string_view)>& isOwnClass) {
  QM_TRY(dialog, ParseDialogTemplate(bytes));
  const auto refused = [&](const DialogNameOrOrdinal& name) {
    return name.kind == DialogNameOrOrdinal::Kind::Text && isOwnClass(name.text);
  };
  if (refused(dialog.windowClass)) return Result<DialogTemplate>::Fail(ReadError::BadValue, 0);
  for (const DialogControl& control : dialog.controls) {
    if (refused(control.windowClass)) return Result<DialogTemplate>::Fail(ReadError::BadValue, 0);
  }
  return dialog;
}

std::vector<uint8_t> PaddedTemplateCopy(ByteView bytes) {
  std::vector<uint8_t> copy(bytes.data(), bytes.data() + bytes.size());
  copy.resize((copy.size() + 3) / 4 * 4 + 4, 0);
  return copy;
}

}  // namespace qm
