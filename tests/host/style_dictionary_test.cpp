#include "windows/style_dictionary.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

std::vector<std::string> Names(uint32_t style, StyleKind kind) {
  CStyleDictionary dictionary(kind);
  std::vector<std::string> names;
  for (int i = 0; i < dictionary.Decode(style); ++i) names.push_back(dictionary.GetName(i));
  return names;
}

using N = std::vector<std::string>;

TEST(StyleDictionaryTest, EveryDictionaryHasItsRowsAndNoValueOutsideItsMask) {
  constexpr size_t kRows[kStyleKindCount] = {22, 13, 14, 13, 25, 29, 19, 14, 21, 12, 8};
  for (StyleKind kind = 0; kind < kStyleKindCount; ++kind) {
    const auto rows = StyleDictionaryRows(kind);
    EXPECT_EQ(rows.size(), kRows[kind]) << kind;
    for (const StyleEntry& row : rows) {
      ASSERT_NE(row.name, nullptr);
      EXPECT_EQ(row.value & ~row.mask, 0u) << row.name;
      EXPECT_NE(row.mask, 0u) << row.name;
    }
  }
  EXPECT_TRUE(StyleDictionaryRows(-1).empty());
  EXPECT_TRUE(StyleDictionaryRows(kStyleKindCount).empty());
}

TEST(StyleDictionaryTest, WindowStylesListSharedBitsCompositesAndThePopupTest) {
  EXPECT_EQ(Names(0, kWindowStyles), N{"WS_OVERLAPPED"});
  // A typical top-level window, in dictionary order: both names of a shared
  // bit, WS_CAPTION beside its two components.
  EXPECT_EQ(Names(0x16CF0000, kWindowStyles),
            (N{"WS_BORDER", "WS_DLGFRAME", "WS_CAPTION", "WS_CLIPCHILDREN", "WS_CLIPSIBLINGS", "WS_GROUP",
               "WS_MAXIMIZEBOX", "WS_MINIMIZEBOX", "WS_OVERLAPPED", "WS_OVERLAPPEDWINDOW", "WS_SYSMENU", "WS_TABSTOP",
               "WS_THICKFRAME", "WS_VISIBLE"}));
  // Only the pop-up bit rules WS_OVERLAPPED out: a child is "overlapped" too.
  EXPECT_EQ(Names(0x50000000, kWindowStyles), (N{"WS_CHILD", "WS_OVERLAPPED", "WS_VISIBLE"}));
  // Half of WS_CAPTION is not WS_CAPTION.
  EXPECT_EQ(Names(0x00800000, kWindowStyles), (N{"WS_BORDER", "WS_OVERLAPPED"}));
  // WS_OVERLAPPEDWINDOW's bits under WS_POPUP: the pop-up window names only.
  EXPECT_EQ(Names(0x80CF0000, kWindowStyles),
            (N{"WS_BORDER", "WS_DLGFRAME", "WS_CAPTION", "WS_GROUP", "WS_MAXIMIZEBOX", "WS_MINIMIZEBOX", "WS_POPUP",
               "WS_POPUPWINDOW", "WS_SYSMENU", "WS_TABSTOP", "WS_THICKFRAME"}));
  // The complement names what can still be added.
  EXPECT_EQ(Names(~0x16CF0000u, kWindowStyles),
            (N{"WS_DISABLED", "WS_HSCROLL", "WS_VSCROLL", "WS_MINIMIZE", "WS_MAXIMIZE", "WS_CHILD", "WS_POPUP"}));
}

TEST(StyleDictionaryTest, FieldRowsNameAtMostOneValueOfTheirField) {
  EXPECT_EQ(Names(0x0E, kStaticStyles), (N{"SS_BITMAP"}));
  EXPECT_EQ(Names(0x1F, kStaticStyles), (N{"SS_TYPEMASK"}));
  EXPECT_EQ(Names(0xC000 | 0x01, kStaticStyles), (N{"SS_CENTER", "SS_WORDELLIPSIS"}));
  // Button type 0x0A has no name; the other fields still speak.
  EXPECT_EQ(Names(0x0A, kButtonStyles), (N{"BS_TEXT"}));
  EXPECT_EQ(Names(0x0300 | 0x0C00 | 0x40, kButtonStyles), (N{"BS_PUSHBUTTON", "BS_ICON", "BS_CENTER", "BS_VCENTER"}));
  // LVS_OWNERDRAWFIXED sits inside the alignment field.
  EXPECT_EQ(Names(0x0001, kListViewStyles), (N{"LVS_REPORT", "LVS_ALIGNTOP"}));
  EXPECT_EQ(Names(0x0401, kListViewStyles), (N{"LVS_REPORT", "LVS_OWNERDRAWFIXED"}));
  EXPECT_EQ(Names(0x0C01, kListViewStyles), (N{"LVS_REPORT", "LVS_OWNERDRAWFIXED"}));
  EXPECT_EQ(Names(0x0801, kListViewStyles), (N{"LVS_REPORT", "LVS_ALIGNLEFT"}));
  EXPECT_EQ(Names(0x0002, kEditStyles), (N{"ES_RIGHT"}));
  EXPECT_EQ(Names(0x0003, kComboBoxStyles), (N{"CBS_DROPDOWNLIST"}));
}

TEST(StyleDictionaryTest, MenuStatesAndExtendedStylesNameTheirZeroSettings) {
  EXPECT_EQ(Names(0, kMenuItemStates), (N{"MFS_ENABLED", "MFS_UNCHECKED", "MFS_UNHILITE"}));
  EXPECT_EQ(Names(0x108B, kMenuItemStates),
            (N{"MFS_DEFAULT", "MFS_DISABLED", "MFS_GRAYED", "MFS_CHECKED", "MFS_HILITE"}));
  // One of the two low bits alone is neither enabled nor disabled.
  EXPECT_EQ(Names(0x1, kMenuItemStates), (N{"MFS_UNCHECKED", "MFS_UNHILITE"}));
  EXPECT_EQ(Names(0x2, kMenuItemStates), (N{"MFS_UNCHECKED", "MFS_UNHILITE"}));
  // Bit 0x2 has no name.
  EXPECT_EQ(Names(0x2, kExtendedStyles), (N{"WS_EX_LEFT", "WS_EX_LTRREADING", "WS_EX_RIGHTSCROLLBAR"}));
  EXPECT_EQ(Names(0x0388, kExtendedStyles),
            (N{"WS_EX_TOPMOST", "WS_EX_TOOLWINDOW", "WS_EX_WINDOWEDGE", "WS_EX_CLIENTEDGE", "WS_EX_LEFT",
               "WS_EX_LTRREADING", "WS_EX_RIGHTSCROLLBAR", "WS_EX_OVERLAPPEDWINDOW", "WS_EX_PALETTEWINDOW"}));
}

TEST(StyleDictionaryTest, AKindOutOfRangeKeepsTheDictionaryOrHasNone) {
  CStyleDictionary dictionary(kButtonStyles);
  dictionary.SelectKind(kStyleKindCount);
  dictionary.SelectKind(-1);
  ASSERT_EQ(dictionary.Decode(0x0B), 2);
  EXPECT_EQ(dictionary.GetName(0), "BS_OWNERDRAW");
  EXPECT_EQ(dictionary.GetValue(0), 0x0Bu);

  CStyleDictionary none(42);
  EXPECT_EQ(none.Decode(0), 0);
  EXPECT_EQ(none.Decode(0xFFFFFFFF), 0);
  none.SelectKind(kClassStyles);
  EXPECT_EQ(none.Decode(0x3), 2);
}

TEST(StyleDictionaryTest, IndicesOutsideTheMatchesGiveNothing) {
  CStyleDictionary dictionary(kWindowStyles);
  EXPECT_EQ(dictionary.GetName(0), "");
  const int count = dictionary.Decode(0x16CF0000);
  EXPECT_EQ(dictionary.GetValue(count), 0u);
  EXPECT_EQ(dictionary.GetName(count), "");
  EXPECT_EQ(dictionary.GetName(-1), "");
  EXPECT_EQ(dictionary.GetValue(-1), 0u);
  // Matches found in the 22 window rows, read after switching to the 8 menu
  // states without decoding again, never reach past the shorter dictionary.
  dictionary.SelectKind(kMenuItemStates);
  EXPECT_EQ(dictionary.GetCount(), count);
  EXPECT_EQ(dictionary.GetName(count - 1), "");
  EXPECT_EQ(dictionary.GetValue(count - 1), 0u);
}

TEST(StyleDictionaryTest, ABreakdownAddsTheWindowNamesForControlKindsOnly) {
  EXPECT_EQ(StyleBreakdown(0x50010003, kButtonStyles), (std::vector<StyleName>{{"BS_AUTOCHECKBOX", 0x3},
                                                                               {"BS_TEXT", 0x0},
                                                                               {"WS_MAXIMIZEBOX", 0x10000},
                                                                               {"WS_CHILD", 0x40000000},
                                                                               {"WS_OVERLAPPED", 0x0},
                                                                               {"WS_TABSTOP", 0x10000},
                                                                               {"WS_VISIBLE", 0x10000000}}));
  // LBS_STANDARD carries window bits that the window dictionary names too.
  EXPECT_EQ(StyleBreakdown(0x00A00003, kListBoxStyles), (std::vector<StyleName>{{"LBS_NOTIFY", 0x1},
                                                                                {"LBS_SORT", 0x2},
                                                                                {"LBS_STANDARD", 0xA00003},
                                                                                {"WS_BORDER", 0x800000},
                                                                                {"WS_VSCROLL", 0x200000},
                                                                                {"WS_OVERLAPPED", 0x0}}));
  EXPECT_EQ(StyleBreakdown(0x10C8, kDialogStyles).back(), (StyleName{"WS_OVERLAPPED", 0}));
  const std::pair<StyleKind, std::string> kOwnOnly[] = {
      {kExtendedStyles, "WS_EX_"}, {kClassStyles, "CS_"}, {kMenuItemStates, "MFS_"}};
  for (const auto& [kind, prefix] : kOwnOnly)
    for (const StyleName& row : StyleBreakdown(0x10000000, kind)) EXPECT_EQ(row.name.rfind(prefix, 0), 0u) << row.name;
  EXPECT_TRUE(StyleBreakdown(0x10000000, 11).empty());
}

TEST(StyleDictionaryTest, TheClassNameChoosesTheDictionaryCaseInsensitivelyAndExactly) {
  EXPECT_EQ(StyleKindForClass("Edit"), kEditStyles);
  EXPECT_EQ(StyleKindForClass("LISTBOX"), kListBoxStyles);
  EXPECT_EQ(StyleKindForClass("ComboBox"), kComboBoxStyles);
  EXPECT_EQ(StyleKindForClass("Button"), kButtonStyles);
  EXPECT_EQ(StyleKindForClass("Static"), kStaticStyles);
  EXPECT_EQ(StyleKindForClass("SysListView32"), kListViewStyles);
  EXPECT_EQ(StyleKindForClass("#32770"), kDialogStyles);
  for (const char* other : {"", "RichEdit20W", "edit ", "ComboLBox", "#32768", "SysTreeView32", "Édit"})
    EXPECT_EQ(StyleKindForClass(other), kWindowStyles) << other;
}

}  // namespace
}  // namespace qm
