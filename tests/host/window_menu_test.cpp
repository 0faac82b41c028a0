#include "windows/window_menu.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "platform/sim/sim_system.h"
#include "windows/menu_item_edit.h"

namespace qm {
namespace {

constexpr int IDNO_ = 7;
constexpr uint32_t kSeparator = 0x800;

MenuItemInfo Command(uint32_t id, const std::string& text, uint32_t state = 0) {
  MenuItemInfo item;
  item.id = id;
  item.text = text;
  item.state = state;
  return item;
}
MenuItemInfo Separator() {
  MenuItemInfo item;
  item.type = kSeparator;
  return item;
}
MenuItemInfo Popup(MenuHandle submenu, const std::string& text, uint32_t id = 0) {
  MenuItemInfo item = Command(id, text);
  item.submenu = submenu;
  return item;
}

// A menu bar as programs build it: pop-ups and separators share ID 0, two
// commands share ID 100, and "&Ver" holds a nested pop-up with its own
// separator.
//   &Archivo:  &Abrir (100), -, &Salir (101)
//   &Ver:      Zoom: Acercar (100), -, Alejar (102);  -, Barra && estado (103)
//   Ay&uda (104)
class WindowMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file = sim.menus.CreateMenu();
    sim.menus.Append(file, Command(100, "&Abrir"));
    sim.menus.Append(file, Separator());
    sim.menus.Append(file, Command(101, "&Salir"));
    zoom = sim.menus.CreateMenu();
    sim.menus.Append(zoom, Command(100, "Acercar"));
    sim.menus.Append(zoom, Separator());
    sim.menus.Append(zoom, Command(102, "Alejar"));
    view = sim.menus.CreateMenu();
    sim.menus.Append(view, Popup(zoom, "Zoom"));
    sim.menus.Append(view, Separator());
    sim.menus.Append(view, Command(103, "Barra && estado", 0x8));
    bar = sim.menus.CreateMenu();
    sim.menus.Append(bar, Popup(file, "&Archivo"));
    sim.menus.Append(bar, Popup(view, "&Ver"));
    sim.menus.Append(bar, Command(104, "Ay&uda"));
    SimWindowDesc desc;
    desc.title = "Editor";
    desc.menu = bar;
    window = sim.desktop.AddWindow(desc);
    model.SetWindow(window);
    model.Rebuild();
  }
  size_t Node(std::vector<uint32_t> positions) {
    const auto node = model.FindNode(positions);
    EXPECT_TRUE(node.has_value());
    return node.value_or(0);
  }
  static std::string Hex(uint64_t value) { return Format("0x%08llx", static_cast<unsigned long long>(value)); }
  std::vector<std::string> Texts(MenuHandle menu) {
    std::vector<std::string> texts;
    for (const auto& item : sim.menus.Items(menu)) texts.push_back(item.type & kSeparator ? "-" : item.text);
    return texts;
  }

  SimSystem sim;
  MenuHandle bar = 0, file = 0, view = 0, zoom = 0;
  WindowHandle window = 0;
  WindowMenuModel model{sim.platform};
};

TEST_F(WindowMenuTest, TheTreeFollowsTheMenusWithTextsImagesAndPaths) {
  const auto& nodes = model.Nodes();
  std::vector<std::string> lines;
  for (const auto& node : nodes) {
    std::string line =
        std::string(2 * (node.positions.size() - 1), ' ') + node.treeText + " " + std::to_string(node.image);
    lines.push_back(line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"Archivo 6", "  Abrir 5", "  <separador> 7", "  Salir 5", "Ver 6",
                                             "  Zoom 6", "    Acercar 5", "    <separador> 7", "    Alejar 5",
                                             "  <separador> 7", "  Barra  estado 5", "Ayuda 5"}));
  EXPECT_EQ(nodes[Node({1, 0, 2})].parent, static_cast<int>(Node({1, 0})));
  EXPECT_FALSE(model.CanExecute(Node({1, 0})));
  EXPECT_FALSE(model.CanExecute(Node({0, 1})));
  EXPECT_TRUE(model.CanExecute(Node({1, 2})));
  EXPECT_EQ(model.StateNames(Node({1, 2})), (std::vector<std::string>{"MFS_ENABLED", "MFS_CHECKED", "MFS_UNHILITE"}));

  EXPECT_FALSE(model.MenuUnreadable());

  // A menu bar the platform will not read is told apart from none at all.
  SimWindowDesc foreign;
  foreign.menu = bar + 0x1000;  // a handle that is no menu of this desktop
  model.SetWindow(sim.desktop.AddWindow(foreign));
  EXPECT_TRUE(model.Rebuild().empty());
  EXPECT_TRUE(model.MenuUnreadable());

  // No menu bar, or a window that is gone: an empty tree.
  model.SetWindow(window);
  sim.desktop.DestroyWindow(window);
  EXPECT_TRUE(model.Rebuild().empty());
  EXPECT_FALSE(model.MenuUnreadable());
}

TEST_F(WindowMenuTest, ItemsThatShareAnIdAreEachReachedByTheirOwnPath) {
  // "Acercar" shares ID 100 with "Abrir", which comes first by command.
  ASSERT_EQ(model.Edit(Node({1, 0, 0}), Command(100, "Acercar más", 0x3)), MenuEditOutcome::Done);
  EXPECT_EQ(Texts(zoom), (std::vector<std::string>{"Acercar más", "-", "Alejar"}));
  EXPECT_EQ(sim.menus.Items(zoom)[0].state, 0x3u);
  EXPECT_EQ(Texts(file), (std::vector<std::string>{"&Abrir", "-", "&Salir"}));
  EXPECT_EQ(sim.menus.Items(file)[0].state, 0u);
  EXPECT_EQ(model.Nodes()[Node({1, 0, 0})].treeText, "Acercar más") << "the tree is read again";

  ASSERT_EQ(model.Execute(Node({1, 0, 0})), MenuEditOutcome::Done);
  ASSERT_EQ(sim.desktop.actions.size(), 1u);
  EXPECT_NE(sim.desktop.actions[0].find("PostMessage"), std::string::npos);
  EXPECT_NE(sim.desktop.actions[0].find("0x0111 0x64 0"), std::string::npos);
  EXPECT_EQ(model.Execute(Node({1, 0})), MenuEditOutcome::Failed) << "a pop-up has no command";
}

TEST_F(WindowMenuTest, APopupKeepsItsSubmenuAndItsIdWhenEdited) {
  const size_t node = Node({1});
  const MenuItemInfo live = *model.Lookup(node);
  MenuItemView boxes = ViewOfMenuItem(live);
  EXPECT_TRUE(boxes.popup);
  EXPECT_FALSE(boxes.idEnabled);
  boxes.title = "&Vista ñ";
  boxes.idText = "77";  // disabled in the dialog; even typed, a pop-up keeps its ID
  boxes.checked = true;
  ASSERT_EQ(model.Edit(node, ApplyMenuItemView(live, boxes)), MenuEditOutcome::Done);
  const MenuItemInfo& after = sim.menus.Items(bar)[1];
  EXPECT_EQ(after.text, "&Vista ñ");
  EXPECT_EQ(after.submenu, view);
  EXPECT_EQ(after.id, 0u);
  EXPECT_EQ(after.state, 0x8u);
  EXPECT_TRUE(sim.menus.IsMenu(view));
  EXPECT_EQ(model.Nodes()[Node({1, 0, 2})].treeText, "Alejar") << "its items are still below it";
  EXPECT_EQ(sim.menus.actions.back(), "DrawMenuBar " + Hex(window));
}

TEST_F(WindowMenuTest, ASeparatorInsideAPopupIsDeletedByItsPositionAfterYes) {
  sim.messageBox.answers = {IDNO_};
  EXPECT_EQ(model.Delete(Node({1, 0, 1})), MenuEditOutcome::Declined);
  EXPECT_EQ(Texts(zoom), (std::vector<std::string>{"Acercar", "-", "Alejar"}));
  ASSERT_EQ(sim.messageBox.shown.size(), 1u);
  EXPECT_NE(sim.messageBox.shown[0].text.find("\"<separador>\""), std::string::npos);

  EXPECT_EQ(model.Delete(Node({1, 0, 1})), MenuEditOutcome::Done);
  EXPECT_EQ(Texts(zoom), (std::vector<std::string>{"Acercar", "Alejar"}));
  EXPECT_EQ(Texts(view), (std::vector<std::string>{"Zoom", "-", "Barra && estado"}));
  EXPECT_EQ(Texts(file), (std::vector<std::string>{"&Abrir", "-", "&Salir"}));
  EXPECT_EQ(model.Nodes().size(), 11u) << "rebuilt";

  // The question names the item without its "&".
  EXPECT_EQ(model.Delete(Node({0, 2})), MenuEditOutcome::Done);
  EXPECT_NE(sim.messageBox.shown.back().text.find("\"Salir\""), std::string::npos);
  EXPECT_EQ(Texts(file), (std::vector<std::string>{"&Abrir", "-"}));
}

TEST_F(WindowMenuTest, AMenuChangedUnderTheTreeIsReadAgainAndNothingIsDone) {
  // Another item took the place: same position, other ID.
  const size_t salir = Node({0, 2});
  sim.menus.RemoveMenu(file, 2);
  sim.menus.Append(file, Command(105, "&Cerrar"));
  sim.menus.actions.clear();
  EXPECT_EQ(model.Delete(salir), MenuEditOutcome::Stale);
  EXPECT_TRUE(sim.messageBox.shown.empty()) << "nothing asked about an item that is gone";
  EXPECT_TRUE(sim.menus.actions.empty());
  EXPECT_EQ(model.Nodes()[Node({0, 2})].treeText, "Cerrar");

  // A pop-up on the way changed: the item below is not touched either.
  const size_t alejar = Node({1, 0, 2});
  sim.menus.SetMenuItemInfo(view, 0, MenuItemChange{{}, {}, {9}});
  sim.menus.actions.clear();
  EXPECT_EQ(model.Edit(alejar, Command(102, "x")), MenuEditOutcome::Stale);
  EXPECT_EQ(model.Execute(Node({1, 0, 2})), MenuEditOutcome::Done) << "the rebuilt tree knows the new ID";
  EXPECT_TRUE(sim.menus.actions.empty());

  // Moved by an item inserted above it.
  sim.messageBox.answers = {};
  const size_t abrir = Node({0, 0});
  sim.menus.InsertMenuItem(file, 0, Command(106, "Nuevo"));
  EXPECT_EQ(model.Delete(abrir), MenuEditOutcome::Stale);
  EXPECT_EQ(Texts(file), (std::vector<std::string>{"Nuevo", "&Abrir", "-", "&Cerrar"}));

  // The window lost its menu bar, or is gone: nothing happens.
  sim.desktop.DestroyWindow(window);
  EXPECT_EQ(model.Execute(0), MenuEditOutcome::Failed);
}

TEST_F(WindowMenuTest, ANewCommandItemGoesAfterTheSelectedItem) {
  ASSERT_EQ(model.InsertAfter(Node({1, 0, 0}), Command(200, "Zoom 100%")), MenuEditOutcome::Done);
  EXPECT_EQ(Texts(zoom), (std::vector<std::string>{"Acercar", "Zoom 100%", "-", "Alejar"}));
  EXPECT_EQ(sim.menus.Items(zoom)[1].id, 200u);
  EXPECT_EQ(sim.menus.Items(zoom)[1].submenu, 0u);
  EXPECT_EQ(model.Nodes()[Node({1, 0, 1})].treeText, "Zoom 100%");
  // After the last item of the bar, and with nothing selected at its end.
  ASSERT_EQ(model.InsertAfter(Node({2}), Command(201, "Último")), MenuEditOutcome::Done);
  ASSERT_EQ(model.InsertAfter(std::nullopt, Command(202, "Final")), MenuEditOutcome::Done);
  EXPECT_EQ(Texts(bar), (std::vector<std::string>{"&Archivo", "&Ver", "Ay&uda", "Último", "Final"}));
}

TEST_F(WindowMenuTest, ButtonsNeedAReadableMenuAndAnItemAndExecuteAPlainCommand) {
  using B = WindowMenuButtons;
  EXPECT_EQ(model.ButtonsFor(std::nullopt), (B{true, false, false, false})) << "insert goes at the end of the bar";
  EXPECT_EQ(model.ButtonsFor(Node({0})), (B{true, true, true, false})) << "a pop-up";
  EXPECT_EQ(model.ButtonsFor(Node({0, 1})), (B{true, true, true, false})) << "a separator";
  EXPECT_EQ(model.ButtonsFor(Node({1, 0, 2})), (B{true, true, true, true}));
  EXPECT_EQ(model.ButtonsFor(model.Nodes().size()), (B{true, false, false, false})) << "no such item";

  // A menu bar the platform will not read (another process's, under Wine):
  // the tree is empty and nothing is offered, not even for a node of the
  // tree that was there before.
  const size_t before = Node({0, 0});
  SimWindowDesc foreign;
  foreign.title = "Ajena";
  foreign.menu = 0xDEAD;  // not a menu this platform knows
  model.SetWindow(sim.desktop.AddWindow(foreign));
  model.Rebuild();
  ASSERT_TRUE(model.MenuUnreadable());
  EXPECT_TRUE(model.Nodes().empty());
  EXPECT_EQ(model.ButtonsFor(std::nullopt), B{});
  EXPECT_EQ(model.ButtonsFor(before), B{});
}

TEST(MenuItemEditTest, TheBoxesShowTheItemAndGrayedDecidesTheLowBits) {
  MenuItemInfo item = Command(300, "&Guardar", 0x1 | 0x8);
  MenuItemView view = ViewOfMenuItem(item);
  EXPECT_EQ(view.idText, "300");
  EXPECT_EQ(view.title, "&Guardar");
  EXPECT_TRUE(view.inactive && view.grayed && view.checked && view.idEnabled && view.statesEnabled);

  // Inactive checked but Grayed not: both low bits end cleared.
  view.inactive = true;
  view.grayed = false;
  view.checked = false;
  EXPECT_EQ(ApplyMenuItemView(item, view).state, 0u);
  view.inactive = false;
  view.grayed = true;
  EXPECT_EQ(ApplyMenuItemView(item, view).state, 0x3u);
  item.state = 0x1000 | 0x80;  // default and hilite stay
  EXPECT_EQ(ApplyMenuItemView(item, view).state, 0x1083u);

  // ID 0, letters or a number too large keep the old ID; leading digits count.
  for (const char* text : {"0", "abc", "", "-5", "99999999999"}) {
    view.idText = text;
    EXPECT_EQ(ApplyMenuItemView(item, view).id, 300u) << text;
  }
  view.idText = "42abc";
  EXPECT_EQ(ApplyMenuItemView(item, view).id, 42u);

  // A separator shows nothing and an accepted dialog changes nothing.
  const MenuItemInfo separator = Separator();
  const MenuItemView empty = ViewOfMenuItem(separator);
  EXPECT_TRUE(empty.separator);
  EXPECT_FALSE(empty.idEnabled || empty.titleEnabled || empty.statesEnabled || empty.inactive);
  const MenuItemChange change = ChangeOfMenuItem(separator, ApplyMenuItemView(separator, empty));
  EXPECT_FALSE(change.text || change.state || change.id);
  // A bitmap item keeps its picture: its text is never written.
  MenuItemInfo bitmap = Command(301, "");
  bitmap.type = 0x4;
  MenuItemInfo edited = bitmap;
  edited.text = "texto";
  edited.state = 0x3;
  const MenuItemChange bitmapChange = ChangeOfMenuItem(bitmap, edited);
  EXPECT_FALSE(bitmapChange.text);
  EXPECT_EQ(bitmapChange.state, 0x3u);
}

}  // namespace
}  // namespace qm
