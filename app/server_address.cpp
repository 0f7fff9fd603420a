#include "app/server_address.h"

bool ValidServerAndPort(const wmstring& server, int* port) {
  if (port != nullptr) {
    *port = 0;
  }
  std::uint32_t colon = server.find(u':');
  std::uint32_t hostLength = colon == wmstring::npos ? server.length() : colon;
  if (hostLength == 0) {
    return false;
  }
  if (colon == wmstring::npos) {
    return true;
  }
  const WCHAR* digits = server.c_str() + colon + 1;
  if (digits[0] == 0) {
    return false;
  }
  long value = 0;
  for (int i = 0; digits[i] != 0; ++i) {
    if (digits[i] < u'0' || digits[i] > u'9' || i >= 5) {
      return false;  // six digits or more are out of range whatever they say
    }
    value = value * 10 + (digits[i] - u'0');
  }
  if (value < 1 || value > 65535) {
    return false;
  }
  if (port != nullptr) {
    *port = static_cast<int>(value);
  }
  return true;
}
