#include "ui/account_dialogs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "roster/xmpp_account.h"
#include "tests/platform_qt/display_support.h"
#include "tests/support/temp_home.h"

namespace {

// The user at dialog 118, one step per timer tick while the dialog's own loop runs.
struct Script {
  int step = 0;
  int boxesBefore = 0;
  bool stayedAfterCancel = false;
  bool stayedAfterRefusal = false;
  std::u16string shownResource;
};
Script* script = nullptr;

HWND OpenDialog() {
  return FindWindow("JDIALOG", nullptr);
}

std::u16string TextOf(HWND dialog, int id) {
  WCHAR text[300] = {};
  GetDlgItemTextW(dialog, id, text, 300);
  return text;
}

void Press(HWND dialog, int id) {
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void PlayUser(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = OpenDialog();
  if (!dialog || !script) {
    return;
  }
  switch (script->step++) {
    case 0:
      script->shownResource = TextOf(dialog, IDC_JABBER_RESOURCE);
      SetDlgItemTextW(dialog, IDC_JABBER_SERVER, u"example.org");
      SetDlgItemTextW(dialog, IDC_JABBER_USERNAME, u"amy@example.org");
      SetDlgItemTextW(dialog, IDC_JABBER_PASSWORD, u"s3cret pass");
      CheckDlgButton(dialog, IDC_JABBER_CREATE_ACCOUNT, BST_CHECKED);
      Press(dialog, IDCANCEL);
      SendMessage(dialog, WM_CLOSE, 0, 0);
      break;
    case 1:
      script->stayedAfterCancel = IsWindow(dialog);
      Press(dialog, IDOK);  // the stored resource is refused
      break;
    case 2:
      script->stayedAfterRefusal = IsWindow(dialog) && MessageBoxCount() > script->boxesBefore;
      SetDlgItemTextW(dialog, IDC_JABBER_RESOURCE, u"desk");
      Press(dialog, IDOK);
      break;
    default:
      break;
  }
}

class AccountDialogsTest : public DisplayTest {
 protected:
  void TearDown() override {
    SetAccountDialogs(nullptr);
    SetMessageBoxAutoAnswer(0);
    DisplayTest::TearDown();
  }
};

TEST_F(AccountDialogsTest, JabberSetupStaysOpenOnARefusedResourceAndSavesOnceMended) {
  TempHome home;
  home.Write("registry.reg",
             "Windows Registry Editor Version 5.00\n\n"
             "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n"
             "\"JABBERTR.USERNAME\"=\"old\"\n"
             "\"JABBERTR.PASSWORD\"=\"\"\n"
             "\"JABBERTR.SERVER\"=\"old.example.org\"\n"
             "\"JABBERTR.RESOURCE\"=\"bad/resource\"\n");
  InstallAccountDialogs();
  SetMessageBoxAutoAnswer(IDOK);
  Script steps;
  steps.boxesBefore = MessageBoxCount();
  script = &steps;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, PlayUser);

  MJabberService jabber;
  jabber.Setup(nullptr);

  KillTimer(nullptr, timer);
  script = nullptr;
  EXPECT_EQ(steps.shownResource, u"bad/resource");
  EXPECT_TRUE(steps.stayedAfterCancel);
  EXPECT_TRUE(steps.stayedAfterRefusal);
  EXPECT_EQ(MessageBoxCount(), steps.boxesBefore + 1);
  WCHAR text[400];
  WCHAR caption[40];
  UINT type = 0;
  LastMessageBox(text, 400, caption, 40, &type);
  EXPECT_EQ(std::u16string(caption), u"Bad Resource");
  EXPECT_EQ(std::u16string(text).rfind(u"Please choose another resource.", 0), 0u);
  EXPECT_EQ(type & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);

  EXPECT_TRUE(jabber.TakeChanged());
  EXPECT_TRUE(jabber.GetCreateAccount());
  std::string file = home.Read("registry.reg");
  EXPECT_NE(file.find("\"JABBERTR.USERNAME\"=\"amy@example.org\""), std::string::npos) << file;
  EXPECT_NE(file.find("\"JABBERTR.PASSWORD\"=\"s3cret pass\""), std::string::npos);
  EXPECT_NE(file.find("\"JABBERTR.SERVER\"=\"example.org\""), std::string::npos);
  EXPECT_NE(file.find("\"JABBERTR.RESOURCE\"=\"desk\""), std::string::npos);
  struct stat info {};
  ASSERT_EQ(stat(home.registryFile().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
