#include "location/location_pages.h"

#include <cstdio>
#include <string>

#include "platform/process.h"
#include "xml/text_convert.h"

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

// A value never changes the address around it: "&", "#", "/" and blanks are encoded.
void AppendEncoded(std::string& out, const mstring& value) {
  for (const char* p = value.c_str(); *p != '\0'; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (IsUnreserved(c)) {
      out += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      out += escaped;
    }
  }
}

// The address goes to the browser as one argument; no shell ever sees it.
bool OpenPage(const MSettings& settings, const mstring& url) {
  return CreateProcess(wide_to_mb(settings.browserExec.c_str()).c_str(), url.c_str()) != 0;
}

}  // namespace

mstring FillUrlTemplate(const mstring& pattern, const std::vector<mstring>& values) {
  std::string out;
  std::size_t next = 0;
  for (const char* p = pattern.c_str(); *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      if (next < values.size()) {
        AppendEncoded(out, values[next]);
      }
      ++next;
      ++p;
    } else {
      out += *p;
    }
  }
  return mstring(out.c_str());
}

bool ShowLocationPage(const MSettings& settings, const mstring& jid) {
  return OpenPage(settings, FillUrlTemplate(settings.mylocQuery, {jid}));
}

bool ShowMapPage(const MSettings& settings, const mstring& lat, const mstring& lon) {
  return OpenPage(settings, FillUrlTemplate(settings.mapQuery, {lat, lon}));
}
