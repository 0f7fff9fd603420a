// Program-name table: registry entries first, then the built-in defaults.
#include "platform/program_table.h"

#include <strings.h>
#include <unistd.h>

#include <vector>

#include "platform/device_path.h"
#include "platform/registry.h"
#include "platform/shipped_data.h"

namespace {

const WCHAR kProgramsKey[] = u"Software\\orvik\\Programs";

// Names are ASCII in practice; other bytes pass through as Latin-1, which only means such a
// name finds no entry.
std::u16string Widen(const std::string& text) {
  std::u16string wide;
  for (unsigned char c : text) {
    wide.push_back(static_cast<char16_t>(c));
  }
  return wide;
}

void AppendUtf8(std::string* out, char32_t c) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// UTF-16 up to its terminator as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& wide) {
  std::string out;
  for (std::size_t i = 0; i < wide.size() && wide[i] != 0; ++i) {
    char32_t c = wide[i];
    bool high = c >= 0xD800 && c < 0xDC00;
    if (high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(&out, c);
  }
  return out;
}

std::string QueryText(HKEY key, const std::string& name) {
  std::u16string wideName = Widen(name);
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueEx(key, wideName.c_str(), &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size < sizeof(WCHAR)) {
    return "";
  }
  std::u16string data(size / sizeof(WCHAR), u'\0');
  if (RegQueryValueEx(key, wideName.c_str(), &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    return "";
  }
  data.resize(size / sizeof(WCHAR));
  return Utf16ToUtf8(data);
}

}  // namespace

std::string RegistryProgramCommand(const std::string& program) {
  HKEY key = nullptr;
  if (program.empty() || RegOpenKeyEx(HKEY_LOCAL_MACHINE, kProgramsKey, &key) != ERROR_SUCCESS) {
    return "";
  }
  std::string command = QueryText(key, program);
  RegCloseKey(key);
  return command;
}

std::string HelpPagePath() {
  std::string found = ShippedDataPath("help.html");
  if (!found.empty())
    return found;
  std::string module = DevicePathToHost(GetModuleFileName());
  return module.substr(0, module.rfind('/') + 1) + "resources/help.html";
}

std::string DefaultProgramCommand(const std::string& program) {
  if (strcasecmp(program.c_str(), "iexplore.exe") == 0) {
    return "xdg-open %1";
  }
  if (strcasecmp(program.c_str(), "peghelp.exe") == 0) {
    // The handheld's help topics have no counterpart here: every topic opens the one page.
    return "xdg-open \"" + HelpPagePath() + "\"";
  }
  return "";
}
