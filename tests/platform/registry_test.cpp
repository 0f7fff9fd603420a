// The registry through its Win32-shaped calls, on a real file in a temporary profile.
#include "platform/registry.h"
#include "tests/support/temp_home.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char16_t* kChirrup = u"Software\\tessel Software\\Chirrup";

class RegistryTest : public ::testing::Test {
 protected:
  std::string FilePath() const { return home_ + "/registry.reg"; }
  std::string ReadFile() const { return temp_.Read("registry.reg"); }
  void WriteFile(const std::string& text) const { temp_.Write("registry.reg", text); }

  static HKEY Create(const char16_t* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, u"REG_SZ", &key, disposition),
              ERROR_SUCCESS);
    return key;
  }
  static std::vector<BYTE> Bytes(std::u16string text, bool terminated = true) {
    if (terminated) {
      text.push_back(0);
    }
    const BYTE* p = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(p, p + text.size() * 2);
  }
  static void SetText(HKEY key, const char16_t* name, const std::u16string& text) {
    std::vector<BYTE> data = Bytes(text);
    ASSERT_EQ(RegSetValueEx(key, name, REG_SZ, data.data(), data.size()), ERROR_SUCCESS);
  }
  static void SetDword(HKEY key, const char16_t* name, DWORD value) {
    ASSERT_EQ(RegSetValueEx(key, name, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4),
              ERROR_SUCCESS);
  }
  // Type and data of a value, read the way the settings store reads them.
  static std::pair<DWORD, std::vector<BYTE>> Query(HKEY key, const char16_t* name) {
    DWORD type = 99;
    DWORD size = 0;
    if (RegQueryValueEx(key, name, &type, nullptr, &size) != ERROR_SUCCESS) {
      return {REG_NONE, {}};
    }
    std::vector<BYTE> data(size);
    EXPECT_EQ(RegQueryValueEx(key, name, &type, data.data(), &size), ERROR_SUCCESS);
    return {type, data};
  }

  TempHome temp_;
  std::string home_ = temp_.path();
};

TEST_F(RegistryTest, WritesTheExpectedTextForASmallKey) {
  DWORD disposition = 0;
  HKEY key = Create(kChirrup, &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  SetDword(key, u"SOUND SUPPORT", 1);
  SetText(key, u"PROXY SERVER", u"proxy.example.org");
  SetText(key, u"WITH QUOTES", u"say \"hi\" C:\\dir");
  SetText(key, u"MULTILINE", u"A\r\nB");
  SetDword(key, u"SOUND SUPPORT", 0x1234abcd);  // a second set keeps the first position
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  EXPECT_EQ(ReadFile(),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n"
            "\"SOUND SUPPORT\"=dword:1234abcd\n"
            "\"PROXY SERVER\"=\"proxy.example.org\"\n"
            "\"WITH QUOTES\"=\"say \\\"hi\\\" C:\\\\dir\"\n"
            "\"MULTILINE\"=hex(1):41,00,0d,00,0a,00,42,00,00,00\n"
            "\n");

  key = Create(kChirrup, &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(Query(key, u"MULTILINE").second, Bytes(u"A\r\nB"));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ValuesSurviveTheFileUnchanged) {
  struct Case {
    const char16_t* name;
    DWORD type;
    std::vector<BYTE> data;
  };
  std::u16string loneHigh = u"a";
  loneHigh.push_back(0xD83D);
  std::u16string loneLow(1, char16_t(0xDE00));
  const std::vector<Case> cases = {
      {u"accents", REG_SZ, Bytes(u"é € 😀")},
      {u"empty", REG_SZ, Bytes(u"")},
      {u"lines", REG_SZ, Bytes(u"one\r\ntwo\nthree\ttab")},
      {u"lone high", REG_SZ, Bytes(loneHigh)},
      {u"lone low", REG_SZ, Bytes(loneLow)},
      {u"unterminated", REG_SZ, Bytes(u"abc", false)},
      {u"odd", REG_SZ, {0x41}},
      {u"zero", REG_DWORD, {0, 0, 0, 0}},
      {u"max", REG_DWORD, {0xff, 0xff, 0xff, 0xff}},
      {u"short dword", REG_DWORD, {1, 2, 3}},
      {u"binary", REG_BINARY, {0, 1, 0xfe, 0xff}},
      {u"no bytes", REG_BINARY, {}},
      {u"other type", 11, {1, 2, 3, 4, 5, 6, 7, 8}},
      {u"a = b", REG_SZ, Bytes(u"=")},
      {u"\"quoted\" \\name\\", REG_SZ, Bytes(u"\\\"")},
      {u"@", REG_DWORD, {7, 0, 0, 0}},
      {u"", REG_SZ, Bytes(u"the default value")},
      {u"Größe 😀", REG_SZ, Bytes(u"x")},
  };
  HKEY key = Create(kChirrup);
  for (const Case& c : cases) {
    ASSERT_EQ(RegSetValueEx(key, c.name, c.type, c.data.data(), c.data.size()), ERROR_SUCCESS);
  }
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  HKEY reopened = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kChirrup, &reopened), ERROR_SUCCESS);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
    auto [type, data] = Query(reopened, c.name);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(data, c.data);
  }
  EXPECT_EQ(RegCloseKey(reopened), ERROR_SUCCESS);

  // Text a line can carry is written as readable UTF-8; the rest as raw UTF-16.
  std::string text = ReadFile();
  EXPECT_NE(text.find("\"accents\"=\"é € 😀\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"Größe 😀\"=\"x\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"lone high\"=hex(1):61,00,3d,d8,00,00\n"), std::string::npos);
  EXPECT_NE(text.find("\"\\\"quoted\\\" \\\\name\\\\\"=\"\\\\\\\"\"\n"), std::string::npos);
  EXPECT_NE(text.find("@=\"the default value\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"short dword\"=hex(4):01,02,03\n"), std::string::npos);
  EXPECT_NE(text.find("\"other type\"=hex(b):01,02"), std::string::npos);
}

TEST_F(RegistryTest, TextIsStoredOnlyUpToItsTerminator) {
  // A caller passing its whole fixed buffer must not leak what lies beyond the text.
  std::vector<BYTE> buffer = Bytes(u"abc");
  std::vector<BYTE> stale = Bytes(u"SECRET");
  buffer.insert(buffer.end(), stale.begin(), stale.end());
  HKEY key = Create(kChirrup);
  ASSERT_EQ(RegSetValueEx(key, u"PROXY SERVER", REG_SZ, buffer.data(), buffer.size()),
            ERROR_SUCCESS);
  EXPECT_EQ(Query(key, u"PROXY SERVER").second, Bytes(u"abc"));
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(ReadFile().find("hex"), std::string::npos);
  EXPECT_NE(ReadFile().find("\"PROXY SERVER\"=\"abc\"\n"), std::string::npos);
}

TEST_F(RegistryTest, NamesAndPathsIgnoreAsciiCaseAndKeepTheFirstSpelling) {
  HKEY key = Create(u"Software\\Tessel");
  SetDword(key, u"Sound Support", 1);
  SetDword(key, u"SOUND SUPPORT", 2);
  SetText(key, u"é", u"small");
  SetText(key, u"É", u"capital");  // only ASCII letters fold
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  DWORD disposition = 0;
  key = Create(u"SOFTWARE\\\\tessel\\", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(Query(key, u"sound support").second, (std::vector<BYTE>{2, 0, 0, 0}));
  EXPECT_EQ(Query(key, u"é").second, Bytes(u"small"));
  EXPECT_EQ(Query(key, u"É").second, Bytes(u"capital"));
  SetDword(key, u"NEW", 3);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  EXPECT_EQ(ReadFile(),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Tessel]\n"
            "\"Sound Support\"=dword:00000002\n"
            "\"é\"=\"small\"\n"
            "\"É\"=\"capital\"\n"
            "\"NEW\"=dword:00000003\n\n");
}

TEST_F(RegistryTest, QueriesFollowTheWin32Conventions) {
  HKEY key = Create(kChirrup);
  SetText(key, u"text", u"hello");  // 12 bytes with the terminator
  DWORD size = 0;
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueEx(key, u"text", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

  BYTE buffer[16];
  std::fill(std::begin(buffer), std::end(buffer), 0xEE);
  size = 11;
  EXPECT_EQ(RegQueryValueEx(key, u"text", nullptr, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 12u);
  size = 12;
  EXPECT_EQ(RegQueryValueEx(key, u"text", nullptr, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(buffer[12], 0xEE);  // nothing written past the value
  EXPECT_EQ(RegQueryValueEx(key, u"text", nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueEx(key, u"text", nullptr, nullptr, nullptr), ERROR_SUCCESS);

  EXPECT_EQ(RegQueryValueEx(key, u"missing", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValue(key, u"missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValue(key, u"TEXT"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(key, u"text", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueEx(key, u"x", REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueEx(key, u"x", REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, BadHandlesAndNamesAreRefused) {
  int notAKey = 0;
  HKEY bogus = reinterpret_cast<HKEY>(&notAKey);
  HKEY closed = Create(kChirrup);
  ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
  DWORD value = 1;
  DWORD size = 4;
  for (HKEY bad : {HKEY(nullptr), bogus, closed}) {
    HKEY child = bogus;
    EXPECT_EQ(RegCreateKeyEx(bad, u"x", nullptr, &child, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(RegOpenKeyEx(bad, u"x", &child), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueEx(bad, u"x", nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueEx(bad, u"x", REG_DWORD, reinterpret_cast<BYTE*>(&value), 4),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegDeleteValue(bad, u"x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegFlushKey(bad), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
  }
  HKEY missing = bogus;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"No\\Such\\Key", &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, u"x", nullptr, nullptr, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueEx(HKEY_LOCAL_MACHINE, u"x", REG_DWORD, reinterpret_cast<BYTE*>(&value), 4),
            ERROR_ACCESS_DENIED);

  // A line break in a name would let a caller write lines of its own into the file.
  HKEY key = Create(kChirrup);
  EXPECT_EQ(RegSetValueEx(key, u"a\"=dword:1\n[HKEY_LOCAL_MACHINE\\Evil]\n\"b", REG_DWORD,
                          reinterpret_cast<BYTE*>(&value), 4),
            ERROR_INVALID_PARAMETER);
  HKEY evil = nullptr;
  EXPECT_EQ(
      RegCreateKeyEx(HKEY_LOCAL_MACHINE, u"a]\n[HKEY_LOCAL_MACHINE\\Evil", nullptr, &evil, nullptr),
      ERROR_INVALID_PARAMETER);
  SetDword(key, u"ok", 1);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(ReadFile().find("Evil"), std::string::npos);
}

TEST_F(RegistryTest, CreatedKeysAppearEmptyAndParentsCanBeOpened) {
  HKEY key = Create(kChirrup);
  HKEY child = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(key, u"Accounts", nullptr, &child, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(ReadFile(),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup\\Accounts]\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n\n");

  HKEY parent = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"software", &parent), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyEx(parent, u"tessel software\\chirrup\\accounts", &child), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(parent), ERROR_SUCCESS);
  HKEY other = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Software", &other), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, AKeySeesItsSnapshotAndItsOwnChangesUntilItCommits) {
  HKEY first = Create(kChirrup);
  HKEY second = Create(kChirrup);
  SetDword(second, u"from second", 2);
  ASSERT_EQ(RegCloseKey(second), ERROR_SUCCESS);
  SetDword(first, u"from first", 1);
  EXPECT_EQ(Query(first, u"from second").first, static_cast<DWORD>(REG_NONE));
  EXPECT_EQ(Query(first, u"from first").first, static_cast<DWORD>(REG_DWORD));
  ASSERT_EQ(RegFlushKey(first), ERROR_SUCCESS);
  // After its commit the key sees the merged file.
  EXPECT_EQ(Query(first, u"from second").second, (std::vector<BYTE>{2, 0, 0, 0}));
  EXPECT_EQ(RegCloseKey(first), ERROR_SUCCESS);
  EXPECT_NE(ReadFile().find("\"from first\"=dword:00000001"), std::string::npos);
  EXPECT_NE(ReadFile().find("\"from second\"=dword:00000002"), std::string::npos);
}

TEST_F(RegistryTest, FilesArePrivateWhateverTheUmask) {
  WriteFile("Windows Registry Editor Version 5.00\n");
  chmod(FilePath().c_str(), 0644);
  mode_t previous = umask(0);
  HKEY key = Create(kChirrup);
  SetText(key, u"PROXY PASSWORD", u"hunter2");
  LONG closed = RegCloseKey(key);
  umask(previous);
  ASSERT_EQ(closed, ERROR_SUCCESS);
  struct stat status;
  ASSERT_EQ(stat(FilePath().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
  ASSERT_EQ(stat((home_ + "/registry.lock").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
}

TEST_F(RegistryTest, AnUnreadableFileLoadsEmptyAndIsNeverOverwritten) {
  // A folder where the file should be cannot be read (even by root) or replaced.
  std::filesystem::create_directory(FilePath());
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kChirrup, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  SetDword(key, u"kept", 5);
  EXPECT_NE(RegFlushKey(key), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, u"kept").second, (std::vector<BYTE>{5, 0, 0, 0}));

  // The changes stayed pending: once the obstacle is gone they are written.
  std::filesystem::remove(FilePath());
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_NE(ReadFile().find("\"kept\"=dword:00000005"), std::string::npos);
}

TEST_F(RegistryTest, AFileWithoutReadPermissionIsNotReplaced) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "root reads files whatever their mode";
  }
  const std::string original = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\A]\n";
  WriteFile(original);
  chmod(FilePath().c_str(), 0);
  HKEY key = Create(kChirrup);
  SetDword(key, u"x", 1);
  EXPECT_NE(RegCloseKey(key), ERROR_SUCCESS);
  chmod(FilePath().c_str(), 0600);
  EXPECT_EQ(ReadFile(), original);
}

TEST_F(RegistryTest, AnUnwritableProfileReportsErrorsWithoutCrashing) {
  // The profile path names a regular file, so no folder can be made there (this holds for
  // root too).
  std::string notAFolder = home_ + "/plain-file";
  std::ofstream(notAFolder) << "x";
  setenv("ORVIK_HOME", notAFolder.c_str(), 1);
  DWORD disposition = 0;
  HKEY key = Create(kChirrup, &disposition);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  SetDword(key, u"x", 1);
  EXPECT_NE(RegFlushKey(key), ERROR_SUCCESS);
  EXPECT_NE(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);  // released all the same
}

TEST_F(RegistryTest, AReadOnlyFolderReportsAnErrorAndKeepsTheFile) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "root writes into read-only folders";
  }
  HKEY key = Create(kChirrup);
  SetDword(key, u"x", 1);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  const std::string before = ReadFile();
  chmod(home_.c_str(), 0500);
  key = Create(kChirrup);
  SetDword(key, u"x", 2);
  LONG flushed = RegFlushKey(key);
  chmod(home_.c_str(), 0700);
  EXPECT_NE(flushed, ERROR_SUCCESS);
  EXPECT_EQ(ReadFile(), before);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);  // still pending, written now
  EXPECT_NE(ReadFile().find("dword:00000002"), std::string::npos);
}

TEST_F(RegistryTest, ACommitRemovesTemporaryFilesLeftByKilledWriters) {
  std::ofstream(home_ + "/registry.reg.tmp-999999") << "half a file";
  HKEY key = Create(kChirrup);
  SetDword(key, u"x", 1);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  for (const auto& entry : std::filesystem::directory_iterator(home_)) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
  }
}

}  // namespace
