#include "framework/document.h"

#include <algorithm>
#include <string>

namespace qm::fw {

void CDocument::AddView(CView* view) {
  if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void CDocument::RemoveView(CView* view) { views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end()); }

void CDocument::UpdateAllViews(CView* sender) {
  // A view may go away while others update; work on a copy.
  const std::vector<CView*> views = views_;
  for (CView* view : views)
    if (view != sender) view->OnUpdate(sender);
}

bool CDocument::OnSaveDocument(const std::wstring& path) {
  // Written beside the target and moved over it, so a failed save leaves an
  // existing file as it was.
  const std::wstring temporary = path + L".tmp";
  HANDLE file =
      ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string content = Serialize();
  DWORD written = 0;
  const bool wrote =
      content.empty() || (::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                          written == content.size());
  const bool closed = ::CloseHandle(file) != FALSE;
  if (!wrote || !closed || !::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

CView::~CView() {
  if (document_) document_->RemoveView(this);
}

void CView::SetDocument(CDocument* document) {
  if (document_) document_->RemoveView(this);
  document_ = document;
  if (document_) document_->AddView(this);
}

}  // namespace qm::fw
