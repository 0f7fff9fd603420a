#include "roster/service_accounts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "roster/account_dialogs.h"
#include "roster/gateway_service.h"
#include "roster/jabber_setup_check.h"
#include "roster/xmpp_account.h"
#include "tests/roster/roster_support.h"
#include "tests/support/temp_home.h"

namespace {

const char* const kRegistryHeader =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n";

std::string W(const wmstring& wide) {
  return Narrow(wide);
}

// The user at the dialogs: types the given values and confirms (or the dialog goes away).
class TypingUser : public IAccountDialogs {
 public:
  bool RunJabberSetup(HWND, JabberSetupFields& fields, const JabberSetupChecker& check) override {
    shownServer = fields.server;
    if (typeServer) {
      fields.server = server;
      fields.username = username;
      fields.password = password;
    }
    lastCheck = check(fields);
    return confirm && lastCheck.ok;
  }
  bool RunGatewaySetup(HWND, int dialogId, const WCHAR* caption, wmstring&, wmstring&) override {
    opened.push_back(std::to_string(dialogId) + " " + W(caption));
    return confirm;
  }
  bool RunAddUser(HWND, int dialogId, const WCHAR* caption, int editId,
                  wmstring& address) override {
    opened.push_back(std::to_string(dialogId) + " " + W(caption) + " " + std::to_string(editId));
    address = typed;
    return confirm;
  }
  bool confirm = true;
  bool typeServer = false;
  wmstring server, username, password, typed, shownServer;
  JabberSetupCheck lastCheck;
  std::vector<std::string> opened;
};

class AccountsTest : public ::testing::Test {
 protected:
  ~AccountsTest() override { SetAccountDialogs(nullptr); }
  TempHome home_;
};

TEST_F(AccountsTest, FactoryMakesTheFiveAccountsByKey) {
  struct Row {
    const char* key;
    const char* name;
    const char* type;
  };
  const Row rows[] = {{"Service0", "Jabber Service", "jud"},
                      {"Service1", "MSN Messenger Service", "msn"},
                      {"Service2", "Yahoo! Messenger Service", "yahoo"},
                      {"Service3", "ICQ Service", "icq"},
                      {"Service4", "AIM Service", "aim"}};
  for (const Row& row : rows) {
    std::unique_ptr<IJabberService> account = CreateServiceAccount(row.key);
    ASSERT_NE(account, nullptr) << row.key;
    EXPECT_EQ(W(account->GetName()), row.name);
    EXPECT_EQ(W(account->GetType()), row.type);
  }
  EXPECT_EQ(CreateServiceAccount("Service5"), nullptr);
  EXPECT_EQ(CreateServiceAccount(nullptr), nullptr);
}

TEST_F(AccountsTest, StartUpCreatesOnlyTheXmppAccountWhenServicesAreHidden) {
  MSettings shown;
  shown.showServices = true;
  CreateServiceAccounts(shown);
  ASSERT_EQ(shown.ServiceAccountCount(), 5u);
  EXPECT_EQ(W(shown.ServiceAccount(4)->GetType()), "aim");
  EXPECT_NE(shown.FindServiceAccount(u"MSN"), nullptr);

  MSettings hidden;
  hidden.showServices = false;
  CreateServiceAccounts(hidden);
  ASSERT_EQ(hidden.ServiceAccountCount(), 1u);
  EXPECT_EQ(W(hidden.ServiceAccount(0)->GetType()), "jud");
  EXPECT_EQ(hidden.FindServiceAccount(u"aim"), nullptr);  // "Connect..." then does nothing
}

TEST_F(AccountsTest, EmptyRegistryGivesTheDefaults) {
  MJabberService jabber;
  EXPECT_FALSE(jabber.Load());
  EXPECT_EQ(W(jabber.GetServer()), "orvik.im");
  EXPECT_EQ(W(jabber.GetResource()), "orvik");
  EXPECT_EQ(W(jabber.GetUsername()), "");
  MICQService icq;
  EXPECT_FALSE(icq.Load());
  EXPECT_EQ(W(icq.GetPassword()), "");
  EXPECT_EQ(W(icq.GetServer()), "");
}

TEST_F(AccountsTest, LoadStopsAtTheFirstValueThatCannotBeRead) {
  home_.Write("registry.reg", std::string(kRegistryHeader) +
                                  "\"JABBERTR.USERNAME\"=\"amy\"\n"
                                  "\"JABBERTR.SERVER\"=\"example.org\"\n"
                                  "\"JABBERTR.RESOURCE\"=\"desk\"\n");
  MJabberService jabber;
  EXPECT_FALSE(jabber.Load());  // no password: server and resource keep their defaults
  EXPECT_EQ(W(jabber.GetUsername()), "amy");
  EXPECT_EQ(W(jabber.GetServer()), "orvik.im");
  EXPECT_EQ(W(jabber.GetResource()), "orvik");
}

TEST_F(AccountsTest, SaveWritesUserPasswordAndServerButNeverTheResource) {
  MJabberService jabber;
  jabber.SetUsername(u"amy");
  jabber.SetPassword(u"secret");
  jabber.SetServer(u"example.org");
  ASSERT_TRUE(jabber.Save());
  std::string file = home_.Read("registry.reg");
  EXPECT_NE(file.find("\"JABBERTR.USERNAME\"=\"amy\"\n\"JABBERTR.PASSWORD\"=\"secret\"\n"
                      "\"JABBERTR.SERVER\"=\"example.org\""),
            std::string::npos);
  EXPECT_EQ(file.find("JABBERTR.RESOURCE"), std::string::npos);
}

TEST_F(AccountsTest, GettersReloadSoUnsavedValuesAreNotSeen) {
  MAimService aim;
  MJabberService jabber;
  jabber.SetUsername(u"unsaved");
  EXPECT_EQ(W(jabber.GetUsername()), "");
  home_.Write("registry.reg", std::string(kRegistryHeader) + "\"AIMTR.USERNAME\"=\"screen\"\n");
  EXPECT_EQ(W(aim.GetUsername()), "screen");            // edited on disk: seen at once
  EXPECT_EQ(W(MAimService().GetUsername()), "screen");  // storage is shared by the class
}

TEST_F(AccountsTest, LongPasswordRoundTripsWholeAndLongerOnesAreCutAt255) {
  std::u16string password(255, u'p');
  password[0] = u'\u00E9';
  MJabberService jabber;
  jabber.SetUsername(u"amy");
  jabber.SetPassword(password.c_str());
  ASSERT_TRUE(jabber.Save());
  EXPECT_EQ(jabber.GetPassword(), wmstring(password.c_str()));
  struct stat info {};
  ASSERT_EQ(stat(home_.registryFile().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  MMSNService msn;
  home_.Write("registry.reg", std::string(kRegistryHeader) + "\"MSNTR.USERNAME\"=\"a\"\n" +
                                  "\"MSNTR.PASSWORD\"=\"" + std::string(300, 'q') + "\"\n");
  EXPECT_EQ(msn.GetPassword(), wmstring(std::u16string(255, u'q').c_str()));
}

TEST_F(AccountsTest, CreateAccountIsKeptForTheXmppAccountOnly) {
  MJabberService jabber;
  jabber.SetCreateAccount(true);
  EXPECT_TRUE(MJabberService().GetCreateAccount());
  jabber.SetCreateAccount(false);
  EXPECT_FALSE(jabber.GetCreateAccount());
  MYahooService yahoo;
  yahoo.SetCreateAccount(true);
  EXPECT_FALSE(yahoo.GetCreateAccount());
}

TEST_F(AccountsTest, AddressRulesOfEachNetwork) {
  MJabberService jabber;
  MAimService aim;
  MICQService icq;
  MMSNService msn;
  MYahooService yahoo;
  struct Row {
    IJabberService* account;
    const WCHAR* address;
    bool accepted;
    const char* message;
  };
  const char* jabberForm =
      "Please enter a valid address. Addresses must be in the form \"username\", or "
      "\"username@servername\"";
  const Row rows[] = {
      {&jabber, u"amy@example.org", true, ""},
      {&jabber, u"amy42", true, ""},
      {&jabber, u"amy pond", false, jabberForm},
      {&aim, u"screen name", true, ""},
      {&aim, u"a@b", false,
       "Please enter a valid address. Addresses must be in the form \"screenname\""},
      {&icq, u"123456", true, ""},
      {&icq, u"12a", false, "Please enter a valid address. Addresses must be in the form \"ICQ#\""},
      {&msn, u"amy%hotmail.com", true, ""},
      {&msn, u"amy", false,
       "Please enter a valid address. Addresses must be in the form \"username@domain\""},
      {&yahoo, u"amy_pond", true, ""},
      {&yahoo, u"amy@yahoo.com", false,
       "Please enter a valid address. Addresses must be in the form \"username\""},
      {&yahoo, u"amy pond", false,
       "Please enter a valid address. Addresses must be in the form \"username\""},
  };
  for (const Row& row : rows) {
    wmstring message(u"stale");
    EXPECT_EQ(row.account->ValidateAddress(row.address, message), row.accepted) << W(row.address);
    EXPECT_EQ(W(message), row.message) << W(row.address);
  }
  for (IJabberService* account :
       {static_cast<IJabberService*>(&jabber), static_cast<IJabberService*>(&aim),
        static_cast<IJabberService*>(&icq), static_cast<IJabberService*>(&msn),
        static_cast<IJabberService*>(&yahoo)}) {
    wmstring message;
    EXPECT_TRUE(account->ValidateAddress(u"", message)) << W(account->GetType());
  }
}

TEST_F(AccountsTest, JabberSetupChecksInOrderWithTheirTextsAndCaptions) {
  struct Row {
    const WCHAR* server;
    const WCHAR* username;
    const WCHAR* resource;
    const char* caption;  // "" when accepted
    const char* textStart;
  };
  const Row rows[] = {
      {u"", u"", u"bad/one", "Bad Username", "Please enter a username. Username cannot be empty."},
      {u"", u"amy", u"bad/one", "Bad Servername",
       "Please enter a servername. Servername cannot be empty."},
      {u"example.org", u"bad name", u"bad/one", "Bad Resource",
       "Please choose another resource. Your Jabber resource cannot contain spaces, tabs or any "
       "of the following characters:\":@><\\/|'\"%\""},
      {u"example.org", u"bad|name", u"desk", "Bad Username",
       "Please choose another username. Your Jabber username cannot contain spaces, tabs or any "
       "of the following characters:\":><\\/|'\"%\""},
      {u"example.org", u"amy@example.org", u"desk", "", ""},  // '@' allowed in a user name
      {u"example.org", u"amy", u"a@b", "Bad Resource", "Please choose another resource."},
      {u"example.org", u"amy", u"tab\there", "Bad Resource", "Please choose another resource."},
      {u"example.org", u"amy\"x", u"", "Bad Username", "Please choose another username."},
  };
  for (const Row& row : rows) {
    JabberSetupFields fields{row.server, row.username, u"pw", row.resource, false};
    JabberSetupCheck check = CheckJabberSetup(fields);
    EXPECT_EQ(check.ok, *row.caption == 0) << W(row.username) << " " << W(row.resource);
    EXPECT_EQ(W(check.caption), row.caption);
    EXPECT_EQ(W(check.text).rfind(row.textStart, 0), 0u) << W(check.text);
  }
  JabberSetupFields empty{u"example.org", u"amy", u"", u"", false};
  EXPECT_TRUE(CheckJabberSetup(empty).ok);
  EXPECT_EQ(W(empty.resource), "orvik");
}

TEST_F(AccountsTest, WithoutInstalledDialogsSetupAndAddUserDoNothing) {
  MJabberService jabber;
  MMSNService msn;
  jabber.Setup(nullptr);
  msn.Setup(nullptr);
  EXPECT_FALSE(jabber.TakeChanged());
  EXPECT_FALSE(msn.TakeChanged());
  EXPECT_EQ(W(msn.AddUserDialog(nullptr)), "");
  EXPECT_FALSE(home_.Exists("registry.reg") &&
               home_.Read("registry.reg").find("MSNTR") != std::string::npos);
}

TEST_F(AccountsTest, ConfirmedGatewaySetupIsChangedEvenWithNothingEdited) {
  TypingUser user;
  SetAccountDialogs(&user);
  MICQService icq;
  icq.Setup(nullptr);
  EXPECT_EQ(user.opened, (std::vector<std::string>{"127 Setup your ICQ Login"}));
  EXPECT_TRUE(icq.TakeChanged());
  EXPECT_FALSE(icq.TakeChanged());  // read and cleared
  EXPECT_NE(home_.Read("registry.reg").find("\"ICQTR.PASSWORD\"=\"\""), std::string::npos);
  user.confirm = false;  // the dialog went without OK: nothing changes
  icq.Setup(nullptr);
  EXPECT_FALSE(icq.TakeChanged());
}

TEST_F(AccountsTest, JabberSetupIsChangedOnlyWhenAValueDiffers) {
  TypingUser user;
  SetAccountDialogs(&user);
  MJabberService jabber;
  user.typeServer = true;
  user.server = u"example.org";
  user.username = u"amy";
  user.password = u"pw";
  jabber.Setup(nullptr);
  EXPECT_EQ(W(user.shownServer), "orvik.im");
  EXPECT_TRUE(jabber.TakeChanged());
  EXPECT_EQ(W(jabber.GetServer()), "example.org");
  EXPECT_EQ(W(jabber.GetResource()), "orvik");
  jabber.Setup(nullptr);  // the same values again
  EXPECT_FALSE(jabber.TakeChanged());
  user.username = u"bad name";  // refused: the dialog would stay open; here it goes unconfirmed
  jabber.Setup(nullptr);
  EXPECT_EQ(W(user.lastCheck.caption), "Bad Username");
  EXPECT_FALSE(jabber.TakeChanged());
  EXPECT_EQ(W(jabber.GetUsername()), "amy");
}

TEST_F(AccountsTest, AddUserDialogsReturnWhatWasTypedAndMsnTurnsTheAtIntoPercent) {
  TypingUser user;
  SetAccountDialogs(&user);
  MMSNService msn;
  MJabberService jabber;
  user.typed = u"amy@hotmail.com";
  wmstring address = msn.AddUserDialog(nullptr);
  EXPECT_EQ(W(address), "amy%hotmail.com");
  wmstring message;
  EXPECT_TRUE(msn.ValidateAddress(address, message));
  user.typed = u"amy";
  EXPECT_FALSE(msn.ValidateAddress(msn.AddUserDialog(nullptr), message));
  EXPECT_EQ(W(jabber.AddUserDialog(nullptr)), "amy");
  user.confirm = false;
  EXPECT_EQ(W(jabber.AddUserDialog(nullptr)), "");
  EXPECT_EQ(user.opened,
            (std::vector<std::string>{"128 Add MSN User 131", "128 Add MSN User 131",
                                      "117 Add Jabber User 105", "117 Add Jabber User 105"}));
}

}  // namespace
