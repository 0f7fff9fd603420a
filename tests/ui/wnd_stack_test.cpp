// The window framework: the stack's order rules, routing through the shared window procedure,
// the font rules and the settings-change walk.
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "tests/ui/ui_support.h"
#include "ui/jwnd.h"

namespace {

// A window that records what reaches it.
class RecordingWnd : public MJWnd {
 public:
  RecordingWnd(const WCHAR* name, MWndStack* stack, std::vector<std::string>* journal = nullptr)
      : MJWnd(name, nullptr, u"JRECORDINGWND", stack, TestFont()), journal_(journal) {}
  // Tests take their windows down with them (the framework's windows live as long as the
  // program and never do).
  ~RecordingWnd() {
    if (IsWindow(GetHwnd())) {
      DestroyWindow(GetHwnd());
    }
    if (GetStack() != nullptr) {
      GetStack()->Remove(this);
    }
  }
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 5) {
      lastHwnd = hwnd;
      ++userMessages;
      return 55;
    }
    if (message == WM_MWND_SHOW) {
      shows.push_back(reinterpret_cast<MWnd*>(lParam));
      return 0;
    }
    return MJWnd::WindowProc(hwnd, message, wParam, lParam);
  }
  void FitToScreen() override { Note("fit"); }
  void Relayout() override { Note("relayout"); }
  void OnActivate(WORD state) override { activations.push_back(state); }

  HWND lastHwnd = nullptr;
  int userMessages = 0;
  std::vector<MWnd*> shows;
  std::vector<WORD> activations;

 private:
  void Note(const char* what) {
    if (journal_ != nullptr) {
      WCHAR first = GetName()[0];
      journal_->push_back(std::string(1, static_cast<char>(first)) + ":" + what);
    }
  }
  std::vector<std::string>* journal_;
};

class WndStackTest : public UiTest {};

TEST_F(WndStackTest, BringToFrontHidesOnlyWindowsWithAParent) {
  RecordingWnd frame(u"frame", &stack_);
  frame.Create(nullptr, 0, 0);
  RecordingWnd log(u"log", &stack_);
  log.Create(&frame, 0, 0);
  RecordingWnd roster(u"roster", &stack_);
  roster.Create(&frame, 0, 0);
  // Order now: frame, log, roster. Bringing the roster forward hides the log (it has a parent)
  // and leaves the frame (no parent) alone.
  roster.BringToFront();
  EXPECT_EQ(stack_.Top(), &roster);
  EXPECT_TRUE(IsWindowVisible(roster.GetHwnd()));
  EXPECT_TRUE(IsWindowVisible(frame.GetHwnd()));
  EXPECT_FALSE(IsWindowVisible(log.GetHwnd()));
  log.Show();
  EXPECT_EQ(stack_.Top(), &log);
  EXPECT_FALSE(IsWindowVisible(roster.GetHwnd()));
  EXPECT_TRUE(log.IsTopWindow());
  // A window that is not in the stack is left alone.
  RecordingWnd stray(u"stray", nullptr);
  stack_.BringToFront(&stray);
  EXPECT_EQ(stack_.Top(), &log);
}

TEST_F(WndStackTest, SendToBackOfTheOnlyWindowHidesItAndAsksToShowItAgain) {
  RecordingWnd frame(u"frame", &stack_);
  frame.Create(nullptr, 0, 0);
  SetFrameLink(frame.GetHwnd(), nullptr);
  frame.SendToBack();
  EXPECT_FALSE(IsWindowVisible(frame.GetHwnd()));
  EXPECT_EQ(stack_.Top(), &frame);
  ASSERT_TRUE(RunUntil([&] { return !frame.shows.empty(); }));
  EXPECT_EQ(frame.shows.front(), &frame);
}

TEST_F(WndStackTest, CloseDestroysRemovesAndBringsTheNextForward) {
  RecordingWnd frame(u"frame", &stack_);
  frame.Create(nullptr, 0, 0);
  RecordingWnd log(u"log", &stack_);
  log.Create(&frame, 0, 0);
  RecordingWnd chat(u"chat", &stack_);
  chat.Create(&frame, 0, 0);
  chat.BringToFront();
  log.BringToFront();  // order: log, chat, frame; chat hidden
  EXPECT_FALSE(IsWindowVisible(chat.GetHwnd()));
  HWND logHwnd = log.GetHwnd();
  log.Close();
  EXPECT_FALSE(IsWindow(logHwnd));
  EXPECT_FALSE(stack_.Contains(&log));
  EXPECT_EQ(stack_.Top(), &chat);
  EXPECT_TRUE(IsWindowVisible(chat.GetHwnd()));
}

TEST_F(WndStackTest, ChildControlMessagesReachTheOwnerAndStrangersTheDefault) {
  RecordingWnd owner(u"owner", &stack_);
  owner.Create(nullptr, 0, 0);
  static const WNDCLASS childClass{0,       MWndSharedProc, 0,       0,       nullptr,
                                   nullptr, nullptr,        nullptr, nullptr, u"JROUTEDCHILD"};
  RegisterClassW(&childClass);
  HWND child = CreateWindowExW(0, u"JROUTEDCHILD", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                               owner.GetHwnd(), nullptr, nullptr, nullptr);
  // Not yet in the child list: nobody owns it, the default handler answers 0.
  EXPECT_EQ(SendMessage(child, WM_USER + 5, 0, 0), 0);
  owner.AddChildHwnd(child);
  EXPECT_EQ(SendMessage(child, WM_USER + 5, 0, 0), 55);
  EXPECT_EQ(owner.lastHwnd, child);  // the HWND actually addressed
  owner.RemoveChildHwnd(child);
  EXPECT_FALSE(owner.HasChildHwnd(child));
  EXPECT_EQ(SendMessage(child, WM_USER + 5, 0, 0), 0);
  // A window that is not in the stack gets no routed messages even with a live HWND.
  stack_.Remove(&owner);
  EXPECT_EQ(SendMessage(owner.GetHwnd(), WM_USER + 5, 0, 0), 0);
  EXPECT_EQ(owner.userMessages, 1);
  stack_.Add(&owner);
}

TEST_F(WndStackTest, SetFontIgnoresEmptyFaceAndUnknownSizeAndCutsLongFaces) {
  RecordingWnd window(u"fonts", &stack_);
  window.Create(nullptr, 0, 0);
  LOGFONT before = window.GetLogFont();
  window.SetFont(window.GetHwnd(), "", 12);
  window.SetFont(window.GetHwnd(), "Sans", -1);
  EXPECT_EQ(std::memcmp(&before, &window.GetLogFont(), sizeof(LOGFONT)), 0);
  EXPECT_EQ(window.GetFontHandle(), nullptr);
  std::string longFace(40, 'F');
  window.SetFont(window.GetHwnd(), longFace.c_str(), 10);
  const LOGFONT& after = window.GetLogFont();
  EXPECT_EQ(std::u16string(after.lfFaceName), std::u16string(31, u'F'));
  EXPECT_EQ(after.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(after.lfWeight, 0);
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(after.lfHeight, static_cast<LONG>(-(10.0 / dpi) * 72));
  EXPECT_NE(window.GetFontHandle(), nullptr);
}

TEST_F(WndStackTest, SettingChangeFitsThenRelaysOutEveryWindowFrontFirst) {
  std::vector<std::string> journal;
  RecordingWnd a(u"a", &stack_, &journal);
  a.Create(nullptr, 0, 0);
  RecordingWnd b(u"b", &stack_, &journal);
  b.Create(&a, 0, 0);
  b.BringToFront();  // order: b, a
  SendMessage(a.GetHwnd(), WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"b:fit", "b:relayout", "a:fit", "a:relayout"}));
  journal.clear();
  SendMessage(a.GetHwnd(), WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"b:relayout", "a:relayout"}));
  journal.clear();
  SendMessage(a.GetHwnd(), WM_SETTINGCHANGE, 5, 0);
  EXPECT_TRUE(journal.empty());
  // Activation goes to the front window, whichever window was addressed.
  SendMessage(a.GetHwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(b.activations, (std::vector<WORD>{WA_ACTIVE}));
  EXPECT_TRUE(a.activations.empty());
}

TEST_F(WndStackTest, MenuItemRequestsReachTheFrameMenu) {
  RecordingWnd frame(u"frame", &stack_);
  frame.Create(nullptr, 0, 0);
  HMENU menu = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 40008, u"Log On");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), u"Login");
  HWND bar = CreateMenuBar(frame.GetHwnd(), menu);
  SetFrameLink(frame.GetHwnd(), bar);
  EXPECT_TRUE(frame.PostEnableMenuItem(40008, MF_GRAYED));
  ASSERT_TRUE(RunUntil([&] { return GetMenuState(menu, 40008, MF_BYCOMMAND) == MF_GRAYED; }));
  frame.SendCheckMenuItem(40008, MF_CHECKED);
  EXPECT_EQ(GetMenuState(menu, 40008, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
}

}  // namespace
