#pragma once
// The resource browser's image page: a bitmap with scroll bars, an icon or
// a cursor image at its own size, or the picture of a dialog, drawn between
// the page's toolbar and its scroll bars. Bitmaps are decoded from the
// resource's bytes by the program's own reader, never by the system from
// the module. "Guardar como bitmap" writes the bitmap resource's own bytes,
// or the picture as a 32-bit bitmap, whole or not at all; a dialog picture
// also saves the dialog as resource script and runs it in the test window.

#include <optional>
#include <string>
#include <vector>

#include "common/ui/dialog_toolbar.h"
#include "common/ui/toolbar_dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "resources/image_page_model.h"
#include "resources/resource_module.h"
#include "resources/ui/gdi_handles.h"

namespace qm {

class CBitmapResPage : public fw::WithMessageTable<CBitmapResPage, CToolBarDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CBitmapResPage> Messages();
  static constexpr UINT kTemplateId = IDD_BITMAP_RES_PAGE;

  explicit CBitmapResPage(Platform& platform = SystemPlatform()) : platform_(platform) {}
  // The window goes first, so nothing on screen still uses an image that
  // is destroyed.
  ~CBitmapResPage() override;

  // Each replaces what the page showed; a resource that does not load
  // leaves the page empty. The module must outlive what it shows.
  void ShowBitmap(const CResourceModule& module, const ResourceName& name);
  void ShowIcon(const CResourceModule& module, const ResourceName& name);
  void ShowCursor(const CResourceModule& module, const ResourceName& name);
  void ShowDialog(const CResourceModule& module, const ResourceName& name);
  // Takes the bitmap and shows it with scroll bars; null shows nothing.
  void SetBitmap(BitmapHandle bitmap);

  HBITMAP Bitmap() const { return bitmap_.get(); }
  // Why a bitmap resource shows nothing (it is too large to decode for the
  // screen); empty otherwise.
  const std::string& Notice() const { return content_.Notice(); }
  HICON Icon() const { return icon_.get(); }
  // Width, height, depth and planes of the bitmap; all zero without one.
  const BITMAP& Metrics() const { return metrics_; }
  // Where the image is drawn, in client coordinates: below the toolbar,
  // left of the vertical bar and above the horizontal one.
  RECT ViewRect() const;
  CDialogToolBar& ToolBar() { return toolbar_; }

  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  BOOL OnInitDialog() override;

 private:
  // Lets go of the image and of the bytes kept for saving.
  void Release();
  void ShowImage(BitmapHandle bitmap, std::vector<uint8_t> dib, ShownImage kind);
  void ShowIconImage(const CResourceModule& module, const ResourceName& name, bool cursor);
  // The scroll ranges and pages of the bitmap shown (from position 0, or
  // keeping the positions the new pages allow); hidden without a bitmap.
  void SetUpBars(bool fromStart);
  // The bars along the bottom and the right of the page as it is sized.
  void LayOut();
  void ShowDialogButtons(bool show);
  void Redraw();
  ImagePageServices Services();
  void Paint(HDC dc);
  void OnPaint(HDC dc, const PAINTSTRUCT& paint);
  LRESULT OnPrintClient(WPARAM, LPARAM);
  LRESULT OnEraseBackground(WPARAM, LPARAM);
  void OnScroll(UINT request, HWND bar);
  void OnSize(UINT kind, SIZE client);
  LRESULT OnSaveAsBitmap(WPARAM, LPARAM);
  LRESULT OnSaveAsResource(WPARAM, LPARAM);
  LRESULT OnTestDialog(WPARAM, LPARAM);

  Platform& platform_;
  ImagePageContent content_;
  BitmapHandle bitmap_;
  IconHandle icon_;
  BITMAP metrics_{};
  CDialogToolBar toolbar_;
  // The page's two scroll bars, bound when the page is made.
  HWND horizontalBar_ = nullptr;
  HWND verticalBar_ = nullptr;
};

}  // namespace qm
