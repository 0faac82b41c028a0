#pragma once
// The resources the framework finds by rules of its own: a toolbar's button
// list is a resource of type RT_TOOLBAR_BUTTONS, and its larger drawings for
// screens at 150% and 200% are BITMAPs at these IDs. Plain #defines: the
// program's .rc includes this file too.

#define RT_TOOLBAR_BUTTONS 241
#define QM_TOOLBAR_BITMAP_150(id) ((id) + 0x1000)
#define QM_TOOLBAR_BITMAP_200(id) ((id) + 0x2000)
