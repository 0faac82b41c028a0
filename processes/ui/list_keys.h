#pragma once
// The keys the process lists answer, the same in the processes dialog (its
// list and its tree) and in the process information: Enter opens the
// selected row, F5 reads the list again.

#include "platform/win32/win.h"

namespace qm {

template <class Open, class Refresh>
void OnProcessListKey(WORD key, Open&& open, Refresh&& refresh) {
  if (key == VK_RETURN) open();
  if (key == VK_F5) refresh();
}

}  // namespace qm
