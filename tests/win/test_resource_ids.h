#pragma once
// Resources of the win test program itself (tests/win/test_resources.rc),
// for what the program's own resources do not have.

// A toolbar resource of no items.
#define IDR_TEST_EMPTY_TOOLBAR 4322
