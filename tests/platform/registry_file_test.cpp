// The registry file's text: hand-edited files load what they can, and whatever the writer
// produces reads back unchanged.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/reg_file.h"
#include "platform/registry.h"
#include "tests/support/temp_home.h"

namespace {

using namespace std::string_literals;

class RegistryFileTest : public ::testing::Test {
 protected:
  std::string ReadFile() const { return temp_.Read("registry.reg"); }
  void WriteFile(const std::string& text) const { temp_.Write("registry.reg", text); }
  static std::string Text(HKEY key, const char16_t* name) {
    char16_t buffer[64] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueEx(key, name, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS) {
      return "<missing>";
    }
    std::string narrow;
    for (char16_t c : std::u16string(buffer)) {
      narrow.push_back(static_cast<char>(c));
    }
    return (type == REG_SZ ? "sz:" : "other:") + narrow;
  }
  static DWORD Number(HKEY key, const char16_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    LONG result = RegQueryValueEx(key, name, &type, reinterpret_cast<BYTE*>(&value), &size);
    return result == ERROR_SUCCESS && type == REG_DWORD ? value : 0xDEAD;
  }
  static bool Has(HKEY key, const char16_t* name) {
    return RegQueryValueEx(key, name, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  TempHome temp_;
  std::string home_ = temp_.path();
};

TEST_F(RegistryFileTest, AHandEditedFileLoadsWhatItCanAndTheNextCommitCleansIt) {
  WriteFile(
      "\xEF\xBB\xBF"
      "\"ORPHAN\"=dword:00000001\r\n"  // no header, and a value before any key
      "; a comment\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\r\n"
      "\"SOUND SUPPORT\"=dword:0\r\n"
      "\"BAD DWORD\"=dword:xyz\r\n"
      "\"TOO LONG\"=dword:123456789\r\n"
      "\"UNTERMINATED\"=\"abc\r\n"
      "\"ESCAPED END\"=\"abc\\\"\r\n"
      "\"UNTERMINATED NAME=dword:1\r\n"
      "\"BAD UTF8\"=\"\xC3\x28\"\r\n"
      "\"TRAILING\"=\"x\" junk\r\n"
      "\"BAD HEX\"=hex:01,zz\r\n"
      "\"BAD TYPE\"=hex(q):01\r\n"
      "\"DELETE\"=-\r\n"
      "garbage line\r\n"
      "\r\n"
      "   \t\r\n"
      "\x00\x01 binary junk\r\n"
      "\"PATH\"=\"C:\\dir\\\\sub\"\r\n"
      "  \"SPACED\" = \"x\"  \r\n"
      "\"PROXY SERVER\"=\"first\"\r\n"
      "\"proxy server\"=\"second\"\r\n"
      "\"LONG\"=hex:01,02,\\\r\n"
      "  03,04\r\n"
      "@=\"default\"\r\n"
      "\"EMPTY BINARY\"=hex:\r\n"
      "[HKEY_LOCAL_MACHINE\\Broken\r\n"
      "\"LOST\"=dword:00000001\r\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\r\n"
      "\"LOST TOO\"=dword:00000001\r\n"
      "[hkey_local_machine\\software\\TESSEL SOFTWARE\\chirrup]\r\n"
      "\"LATE\"=dword:00000002\r\n"
      "[HKEY_CURRENT_USER\\Other]\r\n"
      "\"CUT\"=hex:01,\\\r\n"
      "[HKEY_CURRENT_USER\\Next]\r\n"
      "\"KEPT\"=\"yes\""s  // no final line end
  );

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"Software\\tessel Software\\Chirrup", &key),
            ERROR_SUCCESS);
  EXPECT_EQ(Number(key, u"SOUND SUPPORT"), 0u);
  EXPECT_EQ(Text(key, u"PATH"), "sz:C:\\dir\\sub");
  EXPECT_EQ(Text(key, u"SPACED"), "sz:x");
  EXPECT_EQ(Text(key, u"PROXY SERVER"), "sz:second");
  EXPECT_EQ(Text(key, u""), "sz:default");
  EXPECT_EQ(Number(key, u"LATE"), 2u);
  for (const char16_t* bad :
       {u"ORPHAN", u"BAD DWORD", u"TOO LONG", u"UNTERMINATED", u"ESCAPED END", u"BAD UTF8",
        u"TRAILING", u"BAD HEX", u"BAD TYPE", u"DELETE", u"LOST", u"LOST TOO"}) {
    EXPECT_FALSE(Has(key, bad)) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
  }
  DWORD value = 1;
  ASSERT_EQ(RegSetValueEx(key, u"NEW", REG_DWORD, reinterpret_cast<BYTE*>(&value), 4),
            ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  EXPECT_EQ(ReadFile(),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n"
            "\"SOUND SUPPORT\"=dword:00000000\n"
            "\"PATH\"=\"C:\\\\dir\\\\sub\"\n"
            "\"SPACED\"=\"x\"\n"
            "\"PROXY SERVER\"=\"second\"\n"
            "\"LONG\"=hex:01,02,03,04\n"
            "@=\"default\"\n"
            "\"EMPTY BINARY\"=hex:\n"
            "\"LATE\"=dword:00000002\n"
            "\"NEW\"=dword:00000001\n"
            "\n"
            "[HKEY_CURRENT_USER\\Other]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Next]\n"
            "\"KEPT\"=\"yes\"\n"
            "\n");
}

// Random text, with the characters that need care in the file well represented.
std::u16string RandomText(std::mt19937& random, bool quotableOnly) {
  static const char16_t kTricky[] = u"\"\\=[]@; é€\u00ff\u2028\ufeff";
  std::u16string text;
  int length = random() % 12;
  for (int i = 0; i < length; ++i) {
    switch (random() % 4) {
      case 0:
        text.push_back(kTricky[random() % (std::size(kTricky) - 1)]);
        break;
      case 1:
        text += u"😀";
        break;
      case 2:
        if (!quotableOnly) {
          text.push_back(
              static_cast<char16_t>(random() % 2 ? random() % 0x20 : 0xD800 + random() % 0x800));
          break;
        }
        [[fallthrough]];
      default:
        text.push_back(static_cast<char16_t>(u'a' + random() % 26));
    }
  }
  return text;
}

std::vector<BYTE> RandomData(std::mt19937& random, DWORD* type) {
  std::vector<BYTE> data;
  switch (random() % 5) {
    case 0:
    case 1: {
      *type = REG_SZ;
      std::u16string text = RandomText(random, false);
      if (random() % 4 != 0) {
        text.push_back(0);
      }
      for (char16_t unit : text) {
        data.push_back(static_cast<BYTE>(unit));
        data.push_back(static_cast<BYTE>(unit >> 8));
      }
      return data;
    }
    case 2:
      *type = REG_DWORD;
      data.resize(random() % 3 ? 4 : random() % 6);
      break;
    default:
      *type = random() % 2 ? REG_BINARY : random() % 0x20;
      data.resize(random() % 9);
  }
  for (BYTE& byte : data) {
    byte = static_cast<BYTE>(random());
  }
  return data;
}

TEST(RegistryTextTest, WhateverIsWrittenReadsBackUnchanged) {
  std::mt19937 random(20240601);
  for (int round = 0; round < 300; ++round) {
    reg::Tree tree;
    int keys = 1 + random() % 3;
    for (int k = 0; k < keys; ++k) {
      std::u16string part = RandomText(random, true);
      std::replace(part.begin(), part.end(), u'\\', u'/');  // no empty path components
      reg::Key key{u"HKEY_LOCAL_MACHINE\\P" + part + u"\\K" + char16_t(u'0' + k), {}};
      int values = random() % 6;
      for (int v = 0; v < values; ++v) {
        reg::Value value;
        value.name = v == 0 && random() % 4 == 0
                         ? u""
                         : RandomText(random, true) + std::u16string(1, char16_t(u'0' + v));
        value.data = RandomData(random, &value.type);
        key.values.push_back(value);
      }
      tree.keys.push_back(key);
    }
    std::string text = reg::FormatRegText(tree);
    reg::Tree parsed;
    reg::ParseRegText(text, &parsed);
    ASSERT_EQ(parsed.keys.size(), tree.keys.size()) << text;
    for (size_t k = 0; k < tree.keys.size(); ++k) {
      ASSERT_EQ(parsed.keys[k].path, tree.keys[k].path) << text;
      ASSERT_EQ(parsed.keys[k].values.size(), tree.keys[k].values.size()) << text;
      for (size_t v = 0; v < tree.keys[k].values.size(); ++v) {
        const reg::Value& want = tree.keys[k].values[v];
        const reg::Value& got = parsed.keys[k].values[v];
        ASSERT_TRUE(got.name == want.name && got.type == want.type && got.data == want.data)
            << text;
      }
    }
  }
}

// "[\-name]" loads as the key "-name"; written back as "[-name]" it would read as a deletion
// line and the key with its values would be gone after the next save.
TEST(RegistryTextTest, AKeyStartingWithADashSurvivesASave) {
  reg::Tree once;
  reg::ParseRegText("[\\-name]\n\"a\"=\"b\"\n", &once);
  ASSERT_EQ(once.keys.size(), 1u);
  EXPECT_EQ(once.keys[0].path, u"-name");
  reg::Tree twice;
  reg::ParseRegText(reg::FormatRegText(once), &twice);
  ASSERT_EQ(twice.keys.size(), 1u);
  EXPECT_EQ(twice.keys[0].path, u"-name");
  ASSERT_EQ(twice.keys[0].values.size(), 1u);
  EXPECT_EQ(twice.keys[0].values[0].name, u"a");
}

TEST(RegistryTextTest, DamagedFilesLoadWithoutCrashingAndRewriteStably) {
  const std::string sample =
      "Windows Registry Editor Version 5.00\n\n"
      "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n"
      "\"SOUND SUPPORT\"=dword:00000001\n"
      "\"WITH QUOTES\"=\"say \\\"hi\\\" C:\\\\dir é😀\"\n"
      "\"MULTILINE\"=hex(1):41,00,0d,00,0a,00,42,00,00,00\n"
      "@=hex:01,02,\\\n  03\n\n"
      "[HKEY_CURRENT_USER\\Other]\n\"x\"=\"y\"\n";
  const std::string alphabet = "\"\\[]=@:,;-\r\n \txhd0f9\xC3\xA9\xF0\x9F\x98\x80\x80\xFF";
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text = sample;
    int edits = 1 + random() % 6;
    for (int e = 0; e < edits && !text.empty(); ++e) {
      size_t at = random() % text.size();
      switch (random() % 3) {
        case 0:
          text[at] = alphabet[random() % alphabet.size()];
          break;
        case 1:
          text.erase(at, 1 + random() % 8);
          break;
        default:
          text.insert(at, 1, alphabet[random() % alphabet.size()]);
      }
    }
    reg::Tree once;
    reg::ParseRegText(text, &once);
    std::string clean = reg::FormatRegText(once);
    reg::Tree twice;
    reg::ParseRegText(clean, &twice);
    ASSERT_EQ(reg::FormatRegText(twice), clean) << "damaged input:\n" << text;
  }
}

}  // namespace
