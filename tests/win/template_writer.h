#pragma once
// Dialog templates for the win tests, assembled in memory: the header, then
// one item per control, aligned on DWORDs as the system reads them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win.h"
#include "tests/host/test_bytes.h"

namespace qm {

// Assembles DLGTEMPLATE bytes: header, then items aligned on DWORDs.
class TemplateWriter {
 public:
  TemplateWriter(const std::wstring& title, DWORD style) {
    Put32(style | DS_SETFONT);
    Put32(0);
    countOffset_ = bytes_.size();
    Put16(0);
    Put16(10);
    Put16(10);
    Put16(300);
    Put16(200);
    Put16(0);  // no menu
    Put16(0);  // the dialog class
    PutString(title);
    Put16(8);
    PutString(L"MS Shell Dlg");
  }

  void Add(WORD id, const std::wstring& className, const std::wstring& text, DWORD style, short x, short y, short cx,
           short cy) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    Put32(style | WS_CHILD | WS_VISIBLE);
    Put32(0);
    Put16(static_cast<WORD>(x));
    Put16(static_cast<WORD>(y));
    Put16(static_cast<WORD>(cx));
    Put16(static_cast<WORD>(cy));
    Put16(id);
    PutString(className);
    PutString(text);
    Put16(0);  // no creation data
    ++count_;
    bytes_[countOffset_] = static_cast<uint8_t>(count_);
  }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  void Put16(WORD value) { test::Append16(bytes_, value); }
  void Put32(DWORD value) { test::Append32(bytes_, value); }
  void PutString(const std::wstring& text) {
    for (wchar_t c : text) Put16(static_cast<WORD>(c));
    Put16(0);
  }

  std::vector<uint8_t> bytes_;
  size_t countOffset_ = 0;
  int count_ = 0;
};

}  // namespace qm
