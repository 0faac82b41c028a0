// Bitmaps, icon and cursor groups, dialog templates and the hex dump on
// arbitrary bytes: every parser must answer with a value or an error.
#include <cstddef>
#include <cstdint>

#include "resources/bitmap_file.h"
#include "resources/dialog_template.h"
#include "resources/hex_dump.h"
#include "resources/icon_group.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const qm::ByteView bytes(data, size);
  if (auto layout = qm::ParseDib(bytes)) {
    (void)qm::MakeBitmapFile(bytes);
    // Large RLE pictures from a few bytes would only slow the search down.
    if (uint64_t{layout->rows} * static_cast<uint32_t>(layout->width) <= (1u << 20)) (void)qm::ReadBitmapPixels(bytes);
  }
  (void)qm::ReadBitmapFilePixels(bytes);
  (void)qm::ParseIconGroup(bytes, qm::IconGroupKind::Icon);
  (void)qm::ParseIconGroup(bytes, qm::IconGroupKind::Cursor);
  (void)qm::IconImageBitsPerPixel(bytes);
  (void)qm::ParseDialogTemplate(bytes);
  (void)qm::FormatHexDump(bytes.bytes());
  return 0;
}
