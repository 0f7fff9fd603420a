// The tree view as the roster window uses it: groups and contacts with item data, sorted
// insertion, expand and collapse, selection and the notifications the parent gets.
#include <string>
#include <vector>

#include "platform/controls.h"
#include "tests/platform_qt/display_support.h"

namespace {

std::vector<UINT>* codes = nullptr;
std::vector<LPARAM>* deleted = nullptr;

LRESULT TreeParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && codes != nullptr) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    codes->push_back(header->code);
    if (header->code == TVN_DELETEITEM && deleted != nullptr) {
      deleted->push_back(reinterpret_cast<NMTREEVIEW*>(lParam)->itemOld.lParam);
    }
  }
  return DefWindowProc(window, message, wParam, lParam);
}

class TreeViewTest : public DisplayTest {
 protected:
  void SetUp() override {
    static const WNDCLASS parentClass{0,       TreeParentProc, 0,       0,       nullptr,
                                      nullptr, nullptr,        nullptr, nullptr, u"JTREETESTWND"};
    RegisterClassW(&parentClass);
    parent_ = CreateWindowExW(0, u"JTREETESTWND", u"tree", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                              nullptr, nullptr, nullptr);
    tree_ = CreateWindowExW(0, WC_TREEVIEW, u"JROSTERTREE", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS,
                            0, 0, 240, 300, parent_, reinterpret_cast<HMENU>(5), nullptr, nullptr);
    ASSERT_NE(tree_, nullptr);
    codes = &codes_;
    deleted = &deleted_;
  }
  void TearDown() override {
    codes = nullptr;
    deleted = nullptr;
    DestroyWindow(parent_);
    DisplayTest::TearDown();
  }
  HTREEITEM Insert(HTREEITEM parent, HTREEITEM after, const WCHAR* text, LPARAM data) {
    TVINSERTSTRUCT insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE;
    insert.item.pszText = const_cast<WCHAR*>(text);
    insert.item.lParam = data;
    insert.item.iImage = 10;
    return TreeView_InsertItem(tree_, &insert);
  }
  std::u16string TextOf(HTREEITEM item) {
    WCHAR buffer[64];
    TVITEM fields{};
    fields.mask = TVIF_TEXT;
    fields.hItem = item;
    fields.pszText = buffer;
    fields.cchTextMax = 64;
    TreeView_GetItem(tree_, &fields);
    return buffer;
  }

  HWND parent_ = nullptr;
  HWND tree_ = nullptr;
  std::vector<UINT> codes_;
  std::vector<LPARAM> deleted_;
};

TEST_F(TreeViewTest, SortedInsertionUnderGroupsWithItemData) {
  HTREEITEM friends = Insert(TVI_ROOT, TVI_SORT, u"Friends", 1);
  HTREEITEM services = Insert(TVI_ROOT, TVI_LAST, u"Services", 2);
  HTREEITEM family = Insert(TVI_ROOT, TVI_SORT, u"Family", 3);
  Insert(friends, TVI_SORT, u"zoe", 11);
  Insert(friends, TVI_SORT, u"Adam", 12);
  Insert(friends, TVI_SORT, u"mike", 13);
  EXPECT_EQ(TreeView_GetRoot(tree_), family);
  EXPECT_EQ(TreeView_GetNextItem(tree_, family, TVGN_NEXT), friends);
  EXPECT_EQ(TreeView_GetNextItem(tree_, friends, TVGN_NEXT), services);
  HTREEITEM first = TreeView_GetNextItem(tree_, friends, TVGN_CHILD);
  EXPECT_EQ(TextOf(first), u"Adam");
  EXPECT_EQ(TextOf(TreeView_GetNextItem(tree_, first, TVGN_NEXT)), u"mike");
  EXPECT_EQ(TreeView_GetNextItem(tree_, first, TVGN_PARENT), friends);
  TVITEM fields{};
  fields.mask = TVIF_PARAM | TVIF_IMAGE;
  fields.hItem = first;
  ASSERT_TRUE(TreeView_GetItem(tree_, &fields));
  EXPECT_EQ(fields.lParam, 12);
  EXPECT_EQ(fields.iImage, 10);
  EXPECT_EQ(SendMessage(tree_, TVM_GETCOUNT, 0, 0), 6);
}

// Walking siblings one by one, with insertions and deletions between the steps, sees the
// current order; sorted insertion keeps the list in order.
TEST_F(TreeViewTest, WalksSeeInsertionsAndDeletionsBetweenSteps) {
  HTREEITEM group = Insert(TVI_ROOT, TVI_LAST, u"Group", 0);
  auto walk = [&] {
    std::u16string texts;
    for (HTREEITEM item = TreeView_GetNextItem(tree_, group, TVGN_CHILD); item != nullptr;
         item = TreeView_GetNextItem(tree_, item, TVGN_NEXT)) {
      texts += TextOf(item) + u" ";
    }
    return texts;
  };
  for (const WCHAR* text : {u"d", u"B", u"f", u"a", u"E", u"c"}) {
    Insert(group, TVI_SORT, text, 0);
  }
  EXPECT_EQ(walk(), u"a B c d E f ");
  HTREEITEM first = TreeView_GetNextItem(tree_, group, TVGN_CHILD);
  HTREEITEM second = TreeView_GetNextItem(tree_, first, TVGN_NEXT);
  Insert(group, TVI_FIRST, u"0", 0);  // the walk's place moves by one
  EXPECT_EQ(TextOf(TreeView_GetNextItem(tree_, second, TVGN_NEXT)), u"c");
  SendMessage(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(TextOf(TreeView_GetNextItem(tree_, second, TVGN_PREVIOUS)), u"0");
  EXPECT_EQ(walk(), u"0 B c d E f ");
}

TEST_F(TreeViewTest, ExpandSelectDeleteAndStaleHandles) {
  HTREEITEM group = Insert(TVI_ROOT, TVI_LAST, u"Friends", 1);
  HTREEITEM contact = Insert(group, TVI_SORT, u"anna", 21);
  EXPECT_TRUE(SendMessage(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(group)));
  TVITEM state{};
  state.mask = TVIF_STATE;
  state.hItem = group;
  TreeView_GetItem(tree_, &state);
  EXPECT_NE(state.state & TVIS_EXPANDED, 0u);
  SendMessage(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(contact));
  EXPECT_EQ(TreeView_GetSelection(tree_), contact);
  EXPECT_NE(std::find(codes_.begin(), codes_.end(), TVN_SELCHANGED), codes_.end());
  SendMessage(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  EXPECT_EQ(SendMessage(tree_, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(deleted_, (std::vector<LPARAM>{21, 1}));
  // A handle of a deleted item is refused, not followed.
  TVITEM stale{};
  stale.mask = TVIF_PARAM;
  stale.hItem = contact;
  EXPECT_FALSE(TreeView_GetItem(tree_, &stale));
}

TEST_F(TreeViewTest, EnterDoubleClickAndTapAndHoldReachTheParent) {
  HTREEITEM group = Insert(TVI_ROOT, TVI_LAST, u"Friends", 1);
  SendMessage(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(group));
  codes_.clear();
  SimulateKey(tree_, VK_RETURN, u'\r');
  SimulateClick(tree_, 30, 8, FALSE, TRUE);
  SimulateClick(tree_, 30, 8, TRUE, FALSE);
  EXPECT_NE(std::find(codes_.begin(), codes_.end(), NM_RETURN), codes_.end());
  EXPECT_NE(std::find(codes_.begin(), codes_.end(), NM_DBLCLK), codes_.end());
  EXPECT_NE(std::find(codes_.begin(), codes_.end(), GN_CONTEXTMENU), codes_.end());
}

}  // namespace
