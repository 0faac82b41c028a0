#include "resources/image_page_model.h"

#include <algorithm>
#include <limits>

#include "common/atomic_file.h"
#include "common/text.h"
#include "res/string_ids.h"
#include "resources/bitmap_file.h"
#include "resources/dialog_script.h"
#include "resources/dialog_template.h"
#include "resources/resource_types.h"

namespace qm {
namespace {

// The longest error text shown after the message of a failed test run.
constexpr size_t kMaxErrorText = 1024;

}  // namespace

ImagePageBars LayOutImagePageBars(const Rect& client, int32_t toolbarBottom, int32_t across, int32_t down) {
  const int32_t top = std::min(toolbarBottom, client.bottom);
  const int32_t right = std::max(0, client.right - across);
  const int32_t bottom = std::max(top, client.bottom - down);
  return ImagePageBars{Rect{0, bottom, right, bottom + down}, Rect{right, top, right + across, bottom}};
}

Rect ImageViewRect(const Rect& client, int32_t toolbarBottom, const Rect& verticalBar, const Rect& horizontalBar) {
  Rect view = client;
  view.top = std::max(client.top, toolbarBottom);
  if (verticalBar.right > verticalBar.left) view.right = std::min(client.right, verticalBar.left);
  if (horizontalBar.bottom > horizontalBar.top) view.bottom = std::min(client.bottom, horizontalBar.top);
  view.bottom = std::max(view.bottom, view.top);
  view.right = std::max(view.right, view.left);
  return view;
}

ImageBarRange ImageScrollRange(int imageSize, int viewSize) {
  return ImageBarRange{imageSize - 1, static_cast<unsigned>(std::max(viewSize, 0))};
}

int ShownImageSpan(int imageSize, int position, int viewSize) {
  return std::clamp(imageSize - position, 0, std::max(viewSize, 0));
}

std::optional<uint32_t> Dib24PixelBytes(int32_t width, int32_t height, uint32_t headerSize) {
  if (width <= 0 || height <= 0) return std::nullopt;
  const uint64_t stride = (uint64_t{static_cast<uint32_t>(width)} * 24 + 31) / 32 * 4;
  const uint64_t pixelBytes = stride * static_cast<uint32_t>(height);
  if (pixelBytes > std::numeric_limits<uint32_t>::max() - uint64_t{headerSize}) return std::nullopt;
  return static_cast<uint32_t>(pixelBytes);
}

void ImagePageContent::Select(const CResourceModule& module, const ResourceName& name) {
  Clear();
  module_ = &module;
  name_ = name;
}

void ImagePageContent::Clear() {
  shown_ = ShownImage::Nothing;
  saved_.clear();
  notice_.clear();
}

void ImagePageContent::Show(ShownImage kind, bool shown, std::vector<uint8_t> savedBytes) {
  Clear();
  shown_ = shown ? kind : ShownImage::Nothing;
  saved_ = std::move(savedBytes);
}

std::vector<uint8_t> BitmapBytesToKeep(ByteView data, bool decoded, const ShownBitmapPlan& plan) {
  if (!decoded && !(plan.savable && !plan.notice.empty())) return {};
  return std::vector<uint8_t>(data.data(), data.data() + data.size());
}

void SaveImageAsBitmap(const std::vector<uint8_t>& dib, const ImagePageServices& services) {
  if (dib.empty()) {
    services.messageBox.MessageBox(services.strings.LoadString(IDS_BITMAP_SAVE_FAILED), MB_ICONEXCLAMATION_);
    return;
  }
  const auto path = services.askPath(services.strings.LoadString(IDS_BITMAP_FILE_FILTER), "Bitmap.bmp", "bmp");
  if (!path) return;
  // Written beside the file and put in its place only once complete.
  if (!WriteBitmapFile(ByteView(dib), *path))
    services.messageBox.MessageBox(services.strings.LoadString(IDS_BITMAP_SAVE_FAILED), MB_ICONEXCLAMATION_);
}

void SaveDialogAsScript(const ImagePageContent& content, const ImagePageServices& services) {
  if (!content.HasDialog()) return;
  const ResourceName& name = *content.Name();
  auto data = content.Module()->LoadResourceData(ResourceName::Number(kRtDialog), name);
  auto dialog = data ? ParseDialogTemplate(*data) : Result<DialogTemplate>::Fail(ReadError::NotFound, 0);
  if (!dialog) {
    services.messageBox.MessageBox(services.strings.LoadString(IDS_DIALOG_LOAD_FAILED), MB_ICONEXCLAMATION_);
    return;
  }
  const auto path = services.askPath(services.strings.LoadString(IDS_RESOURCE_FILE_FILTER), "dialog.rc", "rc");
  if (!path) return;
  if (!WriteDialogScript(*dialog, name, *path))
    services.messageBox.MessageBox(services.strings.LoadString(IDS_DIALOG_SCRIPT_SAVE_FAILED), MB_ICONEXCLAMATION_);
}

std::string IconFileFailure(const IStrings& strings, const IconFileError& error) {
  const std::string index = std::to_string(error.index + 1);
  const std::string id = std::to_string(error.imageId);
  switch (error.reason) {
    case IconFileError::Reason::GroupDamaged:
      return strings.LoadString(IDS_ICON_GROUP_UNREADABLE);
    case IconFileError::Reason::ImageMissing:
      return FormatTable(strings.LoadString(IDS_ICON_IMAGE_MISSING), {index, id});
    case IconFileError::Reason::ImageDamaged:
      return FormatTable(strings.LoadString(IDS_ICON_IMAGE_DAMAGED), {index, id});
    case IconFileError::Reason::TooLarge:
      return strings.LoadString(IDS_ICON_IMAGES_TOO_LARGE);
  }
  return strings.LoadString(IDS_ICON_GROUP_UNREADABLE);
}

std::string IconGroupFileName(IconGroupKind kind, const ResourceName& name) {
  std::string base = name.isString ? name.name : std::to_string(name.id);
  for (char& c : base)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  if (base.empty()) base = "_";
  return base + (kind == IconGroupKind::Cursor ? ".cur" : ".ico");
}

void SaveIconGroupAsFile(const CResourceModule& module, IconGroupKind kind, const ResourceName& name,
                         const ImagePageServices& services) {
  auto file = module.image() ? MakeIconFileFromGroup(*module.image(), module.directory(), kind, name)
                             : Result<std::vector<uint8_t>, IconFileError>(IconFileError{});
  if (!file) {
    services.messageBox.MessageBox(IconFileFailure(services.strings, file.error()), MB_ICONEXCLAMATION_);
    return;
  }
  const bool cursor = kind == IconGroupKind::Cursor;
  const auto path =
      services.askPath(services.strings.LoadString(cursor ? IDS_CURSOR_FILE_FILTER : IDS_ICON_FILE_FILTER),
                       IconGroupFileName(kind, name), cursor ? "cur" : "ico");
  if (!path) return;
  const std::string_view bytes(reinterpret_cast<const char*>(file->data()), file->size());
  if (!WriteFileAtomically(*path, bytes))
    services.messageBox.MessageBox(services.strings.LoadString(IDS_ICON_FILE_SAVE_FAILED), MB_ICONEXCLAMATION_);
}

std::string DialogTestFailure(const IStrings& strings, const std::string& errorText) {
  std::string failure = strings.LoadString(IDS_DIALOG_LOAD_FAILED);
  if (!errorText.empty()) failure += "\n" + errorText.substr(0, kMaxErrorText);
  return failure;
}

}  // namespace qm
