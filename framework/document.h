#pragma once
// Document and view: the document keeps its views and asks them all to
// redraw from it ("update all views"); a view is a window that shows one
// document. The frame owns neither; the application owns both.

#include <string>
#include <vector>

#include "framework/wnd.h"

namespace qm::fw {

class CView;

class CDocument {
 public:
  virtual ~CDocument() = default;

  void AddView(CView* view);
  void RemoveView(CView* view);
  const std::vector<CView*>& Views() const { return views_; }
  // Calls OnUpdate of every view but the sender.
  void UpdateAllViews(CView* sender = nullptr);

  // The framework's new-document step.
  virtual bool OnNewDocument() { return true; }
  // Writes the document to path; false (with nothing changed on disk) on
  // failure.
  virtual bool OnSaveDocument(const std::wstring& path);
  // The document's content as it goes to a file.
  virtual std::string Serialize() const { return {}; }

  std::wstring m_title;

 private:
  std::vector<CView*> views_;
};

class CView : public CWnd {
 public:
  ~CView() override;
  CDocument* GetDocument() const { return document_; }
  void SetDocument(CDocument* document);

  // Once, after the view and its frame exist.
  virtual void OnInitialUpdate() { OnUpdate(nullptr); }
  virtual void OnUpdate(CView* sender) = 0;

 private:
  CDocument* document_ = nullptr;
};

}  // namespace qm::fw
