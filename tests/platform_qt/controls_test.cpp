// The standard controls addressed by HWND: texts, check states, sorted lists, the edit whose
// procedure is replaced (as the chat input does), and notifications to the parent.
#include "platform/controls.h"

#include <string>
#include <vector>

#include "tests/platform_qt/display_support.h"

namespace {

struct Notice {
  UINT message;
  WORD id;
  WORD code;
};
std::vector<Notice>* notices = nullptr;

LRESULT ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (notices != nullptr && message == WM_COMMAND) {
    notices->push_back(Notice{message, LOWORD(wParam), HIWORD(wParam)});
  }
  return DefWindowProc(window, message, wParam, lParam);
}

class ControlsTest : public DisplayTest {
 protected:
  void SetUp() override {
    static const WNDCLASS parentClass{0,       ParentProc, 0,       0,       nullptr,
                                      nullptr, nullptr,    nullptr, nullptr, u"JCONTROLTESTWND"};
    ASSERT_TRUE(RegisterClassW(&parentClass));
    parent_ = CreateWindowExW(0, u"JCONTROLTESTWND", u"controls", WS_VISIBLE, 0, 0, 300, 300,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    notices = &received_;
  }
  void TearDown() override {
    notices = nullptr;
    DestroyWindow(parent_);
    DisplayTest::TearDown();
  }
  HWND Make(const WCHAR* className, const WCHAR* text, DWORD style, int id) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 24,
                           parent_, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                           nullptr, nullptr);
  }
  std::u16string Text(HWND window) {
    WCHAR buffer[256];
    GetWindowTextW(window, buffer, 256);
    return buffer;
  }

  HWND parent_ = nullptr;
  std::vector<Notice> received_;
};

TEST_F(ControlsTest, TextsOfStaticEditAndButtonAndLengthLimitedCopies) {
  HWND label = Make(WC_STATIC, u"Servername:", 0, 1);
  HWND edit = Make(WC_EDIT, u"", 0, 2);
  HWND button = Make(WC_BUTTON, u"Connect", BS_DEFPUSHBUTTON, 3);
  EXPECT_EQ(Text(label), u"Servername:");
  SetWindowTextW(edit, u"jabber.example.org");
  EXPECT_EQ(Text(edit), u"jabber.example.org");
  EXPECT_EQ(GetWindowTextLengthW(edit), 18);
  WCHAR small[7];
  EXPECT_EQ(GetWindowTextW(edit, small, 7), 6);
  EXPECT_EQ(std::u16string(small), u"jabber");
  EXPECT_EQ(Text(button), u"Connect");
  EXPECT_EQ(GetDlgItem(parent_, 2), edit);
  EXPECT_EQ(GetDlgCtrlID(button), 3);
}

TEST_F(ControlsTest, CheckBoxStateAndClickNotifiesTheParent) {
  HWND box = Make(WC_BUTTON, u"Auto Login", BS_AUTOCHECKBOX, 40);
  EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
  SendMessage(box, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  ASSERT_FALSE(received_.empty());
  EXPECT_EQ(received_.back().id, 40);
  EXPECT_EQ(received_.back().code, BN_CLICKED);
}

TEST_F(ControlsTest, SortedComboBoxKeepsOrderAndItemData) {
  HWND combo = Make(WC_COMBOBOX, u"", CBS_DROPDOWNLIST | CBS_SORT, 8044);
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Yahoo"));
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"aim"));
  LRESULT icq = SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"ICQ"));
  EXPECT_EQ(icq, 1);
  SendMessage(combo, CB_SETITEMDATA, 1, 1234);
  WCHAR text[32];
  SendMessage(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::u16string(text), u"aim");
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 1, 0), 1234);
  EXPECT_EQ(SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(u"yahoo")),
            2);
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 7, 0), CB_ERR);
  SendMessage(combo, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Text(combo), u"Yahoo");
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 3);
}

TEST_F(ControlsTest, ListBoxAddsAndSelects) {
  HWND list = Make(WC_LISTBOX, u"", LBS_NOTIFY, 9);
  SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"first"));
  SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"second"));
  SendMessage(list, LB_SETCURSEL, 1, 0);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 1, 0), 6);
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 5, 0), LB_ERR);
}

// The chat input replaces its edit's procedure: typed keys reach the replacement first, and
// reach the edit only when the replacement passes them on.
WNDPROC originalEdit = nullptr;
int enterKeys = 0;
LRESULT ChatInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    ++enterKeys;
    return 0;  // swallowed: Enter sends, it is not typed
  }
  if (message == WM_CHAR && wParam == u'\r') {
    return 0;
  }
  return CallWindowProc(originalEdit, window, message, wParam, lParam);
}

TEST_F(ControlsTest, ReplacedEditProcedureSeesTypedKeysFirst) {
  HWND edit = Make(WC_EDIT, u"", 0, 12);
  originalEdit = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ChatInputProc)));
  ASSERT_NE(originalEdit, nullptr);
  ASSERT_TRUE(SimulateKey(edit, 'A', u'a'));
  ASSERT_TRUE(SimulateKey(edit, VK_RETURN, u'\r'));
  EXPECT_EQ(Text(edit), u"a");
  EXPECT_EQ(enterKeys, 1);
  // Characters sent by the program (a quick phrase) are inserted.
  SendMessage(edit, WM_CHAR, u'b', 0);
  EXPECT_EQ(Text(edit), u"ab");
}

TEST_F(ControlsTest, PasswordAndMultiLineEdits) {
  HWND password = Make(WC_EDIT, u"secret", ES_PASSWORD, 8028);
  HWND lines = Make(WC_EDIT, u"", ES_MULTILINE, 13);
  EXPECT_EQ(Text(password), u"secret");
  SetWindowTextW(lines, u"one\ntwo");
  EXPECT_EQ(Text(lines), u"one\ntwo");
  SendMessage(lines, EM_SETSEL, 0, -1);
  EXPECT_EQ(SendMessage(lines, EM_GETSEL, 0, 0), MAKELPARAM(0, 7));
}

}  // namespace
