// A top-level window on the desktop: its placement kept in the registry file from one window
// to the next (and dropped when it would be off every screen), a scroll bar that shows only
// when there is something to scroll, and the menu bar's keyboard: Alt with a mnemonic opens a
// popup whose items answer their own mnemonics, and shortcuts choose enabled items only.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/menu.h"
#include "platform/qt/qt_window.h"
#include "platform/window_placement.h"
#include "tests/platform_qt/display_support.h"
#include "tests/support/temp_home.h"

namespace {

constexpr const WCHAR* kKey = u"Software\\orvik\\Window";

std::vector<UINT> commands;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    commands.push_back(LOWORD(wParam));
    return 0;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

class DesktopWindowTest : public DisplayTest {
 protected:
  void SetUp() override {
    static const WNDCLASS windowClass{0,       RecordingProc, 0,       0,       nullptr,
                                      nullptr, nullptr,       nullptr, nullptr, u"JDESKTOPTEST"};
    RegisterClassW(&windowClass);
    commands.clear();
  }
  void TearDown() override {
    for (HWND window : windows_) {
      DestroyWindow(window);
    }
    DisplayTest::TearDown();
  }
  HWND Make(DWORD style = 0) {
    HWND window = CreateWindowExW(0, u"JDESKTOPTEST", u"test", WS_VISIBLE | style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                  nullptr, nullptr);
    windows_.push_back(window);
    return window;
  }
  static RECT Rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
  }
  static DWORD Stored(const WCHAR* name) {
    HKEY key = nullptr;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kKey, &key) == ERROR_SUCCESS) {
      RegQueryValueEx(key, name, nullptr, reinterpret_cast<BYTE*>(&value), &size);
      RegCloseKey(key);
    }
    return value;
  }
  static void Store(int left, int top, int width, int height) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kKey, nullptr, &key, nullptr), ERROR_SUCCESS);
    const WCHAR* names[] = {u"LEFT", u"TOP", u"WIDTH", u"HEIGHT"};
    int values[] = {left, top, width, height};
    for (int i = 0; i < 4; ++i) {
      auto value = static_cast<DWORD>(values[i]);
      RegSetValueEx(key, names[i], REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    RegCloseKey(key);
  }

  TempHome home_;
  std::vector<HWND> windows_;
};

TEST_F(DesktopWindowTest, MinimumSizeHoldsWhenTheWindowIsMadeSmaller) {
  HWND window = Make();
  ASSERT_TRUE(SetWindowMinimumSize(window, 320, 400));
  MoveWindow(window, 10, 10, 100, 120, TRUE);
  ProcessDisplayEvents();
  RECT rect = Rect(window);
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 400);
  MoveWindow(window, 10, 10, 700, 500, TRUE);
  ProcessDisplayEvents();
  rect = Rect(window);
  EXPECT_EQ(rect.right - rect.left, 700);
  EXPECT_EQ(rect.bottom - rect.top, 500);
}

TEST_F(DesktopWindowTest, PlacementIsWrittenAfterAChangeAndRestoredForTheNextWindow) {
  HWND first = Make();
  ASSERT_TRUE(RememberWindowPlacement(first, HKEY_LOCAL_MACHINE, kKey));
  MoveWindow(first, 30, 40, 520, 460, TRUE);
  ASSERT_TRUE(RunUntil([] { return Stored(u"WIDTH") == 520; }));
  EXPECT_EQ(Stored(u"HEIGHT"), 460u);
  EXPECT_EQ(Stored(u"LEFT"), 30u);
  EXPECT_EQ(Stored(u"TOP"), 40u);
  EXPECT_NE(home_.Read("registry.reg").find("[HKEY_LOCAL_MACHINE\\Software\\orvik\\Window]"),
            std::string::npos);

  HWND second = Make();
  ASSERT_TRUE(RememberWindowPlacement(second, HKEY_LOCAL_MACHINE, kKey));
  ProcessDisplayEvents();
  RECT rect = Rect(second);
  EXPECT_EQ(rect.left, 30);
  EXPECT_EQ(rect.top, 40);
  EXPECT_EQ(rect.right - rect.left, 520);
  EXPECT_EQ(rect.bottom - rect.top, 460);
}

TEST_F(DesktopWindowTest, StoredPlacementsThatCannotBeUsedFallBack) {
  struct Case {
    const char* name;
    int left, top, width, height;
    bool sizeKept;
  };
  const Case cases[] = {
      {"off every screen", -5000, -5000, 400, 420, true},
      {"only a corner on screen", -390, -400, 400, 420, true},
      {"no size", 10, 10, 0, 0, false},
      {"absurd size", 10, 10, 100000, 420, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    Store(test.left, test.top, test.width, test.height);
    HWND window = Make();
    RECT made = Rect(window);
    ASSERT_TRUE(RememberWindowPlacement(window, HKEY_LOCAL_MACHINE, kKey));
    ProcessDisplayEvents();
    RECT rect = Rect(window);
    if (test.sizeKept) {
      EXPECT_EQ(rect.right - rect.left, test.width);
      EXPECT_EQ(rect.bottom - rect.top, test.height);
      EXPECT_GE(rect.left, 0);  // back on the screen
      EXPECT_GE(rect.top, 0);
    } else {
      EXPECT_EQ(rect.left, made.left);
      EXPECT_EQ(rect.right - rect.left, made.right - made.left);
    }
  }
}

TEST_F(DesktopWindowTest, ScrollBarShowsOnlyWhileTheRangeIsLargerThanAPage) {
  HWND window = Make(WS_VSCROLL);
  RECT before{};
  GetClientRect(window, &before);
  struct Step {
    int max;
    UINT page;
    bool shown;
  };
  for (Step step : {Step{0, 0, false}, Step{5, 10, false}, Step{9, 10, false}, Step{10, 10, true},
                    Step{50, 10, true}, Step{3, 10, false}}) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, step.max, step.page, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    EXPECT_EQ(IsScrollBarVisible(window, SB_VERT) != FALSE, step.shown) << step.max;
  }
  RECT after{};
  GetClientRect(window, &after);
  EXPECT_EQ(after.right, before.right);  // the content never has to be laid out again
}

// The menu bar of a window with one popup, "&Login": "Log &On" (40008), "E&xit\tCtrl+Q"
// (40005) and a greyed "&Contacts\tCtrl+R" (40022).
HWND MakeBar(HWND owner) {
  HMENU menu = CreateMenu();
  HMENU login = CreatePopupMenu();
  AppendMenuW(login, MF_STRING, 40008, u"Log &On");
  AppendMenuW(login, MF_STRING, 40005, u"E&xit\tCtrl+Q");
  AppendMenuW(login, MF_STRING | MF_GRAYED, 40022, u"&Contacts\tCtrl+R");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(login), u"&Login");
  return CreateMenuBar(owner, menu);
}

TEST_F(DesktopWindowTest, ShortcutsChooseEnabledItemsFromAnywhereInTheWindow) {
  HWND owner = Make();
  HWND bar = MakeBar(owner);
  ASSERT_NE(bar, nullptr);
  SimulateKeys(owner, u"Ctrl+R");  // greyed: nothing
  SimulateKeys(owner, u"Ctrl+Q");
  SimulateKeys(owner, u"Q");  // typing, not a command
  ASSERT_TRUE(RunUntil([] { return !commands.empty(); }));
  ProcessDisplayEvents();
  EXPECT_EQ(commands, std::vector<UINT>{40005});
}

TEST_F(DesktopWindowTest, AltAndAMnemonicOpenThePopupWhoseItemsAnswerTheirOwn) {
  HWND owner = Make();
  ASSERT_NE(MakeBar(owner), nullptr);
  QStringList shown;
  // Once the popup is open (its loop runs the timer): note its texts and press the letter of
  // "Log &On".
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&shown, &watcher] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      watcher.stop();
      for (QAction* action : menu->actions()) {
        shown << action->text();
      }
      QKeyEvent press(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, "o");
      QApplication::sendEvent(menu, &press);
    }
  });
  watcher.start(20);
  SimulateKeys(owner, u"Alt+L");
  bool chosen = RunUntil([] { return !commands.empty(); });
  watcher.stop();
  ASSERT_TRUE(chosen);
  EXPECT_EQ(commands, std::vector<UINT>{40008});
  EXPECT_TRUE(shown.contains("E&xit\tCtrl+Q"));  // the shortcut is shown in the menu
}

// Every window shows the program's icon, at each size a desktop asks for.
TEST_F(DesktopWindowTest, WindowsCarryTheProgramIcon) {
  QIcon icon = QApplication::windowIcon();
  ASSERT_FALSE(icon.isNull());
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    EXPECT_FALSE(icon.pixmap(size).isNull()) << size;
  }
  EXPECT_EQ("org.orvik.Messenger", QApplication::desktopFileName().toStdString());
}

}  // namespace
