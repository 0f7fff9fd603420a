// The settings store saving in a loop, for the kill test of scripts/soak, and the check that
// the registry file it leaves behind is whole.
//
// Usage (the profile is $ORVIK_HOME):
//   settings_saver save N    saves N times (0: until killed); iteration i writes
//                            "KEEPALIVE PERIOD" 100000+i, "PRIORITY" i % 1000,
//                            "PROXY SERVER" "proxy-<i>.example", "PROXY USERNAME" "user-<i>"
//   settings_saver check     exit 0 when the file is whole: it is exactly what the store
//                            writes for its content, and the four values are all present
//                            and come from one save
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/settings/settings.h"
#include "platform/reg_data.h"
#include "platform/reg_file.h"
#include "platform/reg_file_io.h"
#include "platform/reg_text.h"
#include "platform/registry.h"

namespace {

void Fill(MSettings& settings, long i) {
  settings.keepalivePeriod = static_cast<DWORD>(100000 + i);
  settings.priority = static_cast<DWORD>(i % 1000);
  settings.proxyServer = ("proxy-" + std::to_string(i) + ".example").c_str();
  settings.proxyUsername = ("user-" + std::to_string(i)).c_str();
}

int Save(long count) {
  MSettings settings;
  settings.Load();
  for (long i = 1; count == 0 || i <= count; ++i) {
    Fill(settings, i);
    if (!settings.Save()) {
      std::fprintf(stderr, "settings_saver: save %ld failed\n", i);
      return 1;
    }
  }
  return 0;
}

const reg::Value* Find(const reg::Key& key, const char16_t* name) {
  return reg::FindValue(key, name);
}

DWORD Dword(const reg::Value* value) {
  DWORD number = 0;
  if (value && value->type == REG_DWORD && value->data.size() == sizeof number) {
    std::memcpy(&number, value->data.data(), sizeof number);
  }
  return number;
}

std::string Text(const reg::Value* value) {
  if (!value || value->type != REG_SZ || value->data.size() % 2 != 0) {
    return "";
  }
  std::u16string text(value->data.size() / 2, u'\0');
  std::memcpy(text.data(), value->data.data(), value->data.size());
  while (!text.empty() && text.back() == u'\0') {
    text.pop_back();
  }
  return reg::Utf16ToUtf8(text);
}

int Fail(const char* why) {
  std::printf("torn: %s\n", why);
  return 1;
}

int Check() {
  const char* home = std::getenv("ORVIK_HOME");
  std::string text;
  if (!home || reg::ReadRegularFile(std::string(home) + "/registry.reg", &text) != 0) {
    return Fail("no registry file");
  }
  reg::Tree tree;
  reg::ParseRegText(text, &tree);
  if (reg::FormatRegText(tree) != text) {
    return Fail("the text is not what the store writes for its content");
  }
  const reg::Key* key = reg::FindKey(tree, reg::JoinKeyPath(u"HKEY_LOCAL_MACHINE", kSettingsKey));
  if (!key) {
    return Fail("the settings key is missing");
  }
  long i = static_cast<long>(Dword(Find(*key, u"KEEPALIVE PERIOD"))) - 100000;
  if (i < 1) {
    return Fail("\"KEEPALIVE PERIOD\" is missing or was never written");
  }
  MSettings expected;
  Fill(expected, i);
  if (Dword(Find(*key, u"PRIORITY")) != expected.priority ||
      Text(Find(*key, u"PROXY SERVER")) != expected.proxyServer.c_str() ||
      Text(Find(*key, u"PROXY USERNAME")) != expected.proxyUsername.c_str()) {
    return Fail("the values do not come from one save");
  }
  std::printf("whole: save %ld\n", i);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "save") == 0) {
    return Save(argc >= 3 ? std::atol(argv[2]) : 0);
  }
  if (argc >= 2 && std::strcmp(argv[1], "check") == 0) {
    return Check();
  }
  std::fprintf(stderr, "usage: settings_saver save N | check\n");
  return 2;
}
