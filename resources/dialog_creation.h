#pragma once
// What must hold before a module's dialog template is handed to the
// platform: the platform trusts every count and length in it and reads past
// a truncated template, so it goes only after the decoder has read it whole
// within the resource's bytes; and a template that names one of this
// program's own window classes is refused, so another module's bytes never
// create (or feed creation data to) our windows.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "common/byte_reader.h"
#include "resources/dialog_template.h"

namespace qm {

// isOwnClass answers for a class name in UTF-8. A refused class is reported
// as BadValue at offset 0.
Result<DialogTemplate> CheckTemplateForCreation(ByteView bytes,
                                                const std::function<bool(std::string_view)>& isOwnClass);

// The template's bytes as the platform receives them: a copy followed by
// zeros up to the next DWORD and one more, so that a reader which rounds up
// never leaves the buffer.
std::vector<uint8_t> PaddedTemplateCopy(ByteView bytes);

}  // namespace qm
