#pragma once
// The rules of the resource browser's image page, apart from its window:
// where the scroll bars and the view go, how the bars span the image, what
// the page keeps of a shown resource for its saves, and the saves
// themselves. The page only asks the system for sizes and draws.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/byte_reader.h"
#include "common/geometry.h"
#include "platform/system.h"
#include "resources/bitmap_view_budget.h"
#include "resources/icon_file.h"
#include "resources/resource_module.h"

namespace qm {

// The two bars along the page's bottom and right edges.
struct ImagePageBars {
  Rect horizontal;
  Rect vertical;
};

// The bars keep the system's thickness (across for the vertical bar, down
// for the horizontal one) along the client's edges, below the toolbar's
// bottom edge, whatever size the host gives the page.
ImagePageBars LayOutImagePageBars(const Rect& client, int32_t toolbarBottom, int32_t across, int32_t down);

// Where the image is drawn: below the toolbar, left of the vertical bar and
// above the horizontal one; an empty bar rectangle (a bar not made) takes
// nothing. Never inverted.
Rect ImageViewRect(const Rect& client, int32_t toolbarBottom, const Rect& verticalBar, const Rect& horizontalBar);

// One scroll unit per pixel: positions 0 to size - page, so the last pixel
// shows at the view's edge and no further.
struct ImageBarRange {
  int maximum = 0;
  unsigned page = 0;
};
ImageBarRange ImageScrollRange(int imageSize, int viewSize);

// How much of an image, scrolled to position, fits in a view of viewSize
// along one axis; the rest of the view is filled with the face colour.
int ShownImageSpan(int imageSize, int position, int viewSize);

// The pixel bytes of a packed 24-bit DIB of the size (rows padded to four
// bytes, as the system writes them); nullopt without a size or when header
// and pixels together pass what a 32-bit size field holds.
std::optional<uint32_t> Dib24PixelBytes(int32_t width, int32_t height, uint32_t headerSize);

enum class ShownImage { Nothing, Bitmap, Icon, DialogPicture };

// What the page shows and keeps: the resource last asked for (kept while
// its image is replaced), the kind of image on screen, the resource's own
// bytes for a save and the text shown in place of an image too large.
class ImagePageContent {
 public:
  // A new resource: what was shown before goes.
  void Select(const CResourceModule& module, const ResourceName& name);
  // Nothing shown, nothing kept for saving; the resource stays selected.
  void Clear();
  // An image is on screen (shown) or not, with the bytes a save writes as
  // they are (empty for a picture, which a save reads back).
  void Show(ShownImage kind, bool shown, std::vector<uint8_t> savedBytes);
  void SetNotice(std::string notice) { notice_ = std::move(notice); }

  ShownImage Shown() const { return shown_; }
  const std::vector<uint8_t>& SavedBytes() const { return saved_; }
  const std::string& Notice() const { return notice_; }
  // The dialog's commands act only on a dialog picture of a resource.
  bool HasDialog() const { return shown_ == ShownImage::DialogPicture && module_ && name_; }
  const CResourceModule* Module() const { return module_; }
  const std::optional<ResourceName>& Name() const { return name_; }

 private:
  const CResourceModule* module_ = nullptr;  // the browser's, not owned
  std::optional<ResourceName> name_;
  ShownImage shown_ = ShownImage::Nothing;
  std::vector<uint8_t> saved_;
  std::string notice_;
};

// The bytes of a bitmap resource kept for "Guardar como bitmap": those of
// a bitmap that decoded, or of one too large to show that still makes a
// valid file; none otherwise.
std::vector<uint8_t> BitmapBytesToKeep(ByteView data, bool decoded, const ShownBitmapPlan& plan);

// Asks where to save: the file filter, the proposed name and extension;
// nullopt when the user cancels.
using AskSavePath = std::function<std::optional<std::string>(const std::string& filter, const std::string& name,
                                                             const std::string& ext)>;

struct ImagePageServices {
  const IStrings& strings;
  IMessageBox& messageBox;
  AskSavePath askPath;
};

// Writes a packed DIB as a .bmp file, whole or not at all. Without bytes
// nothing is asked and the failure is told; a failed write is told too.
void SaveImageAsBitmap(const std::vector<uint8_t>& dib, const ImagePageServices& services);

// Writes the shown dialog as resource script; a dialog that does not read
// or a failed write is told.
void SaveDialogAsScript(const ImagePageContent& content, const ImagePageServices& services);

// The user's message for a group that cannot be written as a file.
std::string IconFileFailure(const IStrings& strings, const IconFileError& error);

// The file name offered for a group: its number, or its name with the
// characters a file name cannot hold replaced, and the kind's extension.
std::string IconGroupFileName(IconGroupKind kind, const ResourceName& name);

// Writes one icon or cursor group (in the language the page shows) as a
// .ico or .cur file, whole or not at all. A group that cannot be written
// is told before anything is asked; a failed write is told too.
void SaveIconGroupAsFile(const CResourceModule& module, IconGroupKind kind, const ResourceName& name,
                         const ImagePageServices& services);

// The message of a test run that failed, with the start of the error's
// text when there is one.
std::string DialogTestFailure(const IStrings& strings, const std::string& errorText);

}  // namespace qm
