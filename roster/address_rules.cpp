#include "roster/address_rules.h"

namespace {

bool IsDigit(WCHAR c) {
  return c >= u'0' && c <= u'9';
}
bool IsLetter(WCHAR c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool IsWhiteSpace(WCHAR c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x00A0 || c == 0x3000;
}

template <typename Predicate>
bool Every(const wmstring& text, Predicate predicate) {
  for (const WCHAR* c = text.c_str(); *c; ++c) {
    if (!predicate(*c)) {
      return false;
    }
  }
  return true;
}

bool Holds(const wmstring& text, WCHAR c) {
  return text.find(c) != wmstring::npos;
}

}  // namespace

bool JabberAddressAccepted(const wmstring& address) {
  return Holds(address, u'@') || Every(address, [](WCHAR c) { return IsLetter(c) || IsDigit(c); });
}

bool AimAddressAccepted(const wmstring& address) {
  return !Holds(address, u'@');
}

bool IcqAddressAccepted(const wmstring& address) {
  return Every(address, IsDigit);
}

bool MsnAddressAccepted(const wmstring& address) {
  return Holds(address, u'%');
}

bool YahooAddressAccepted(const wmstring& address) {
  return !Holds(address, u'@') && Every(address, [](WCHAR c) { return !IsWhiteSpace(c); });
}

bool CheckAddress(const wmstring& address, AddressRule rule, const WCHAR* message,
                  wmstring& messageOut) {
  bool accepted = address.empty() || rule(address);
  messageOut = accepted ? u"" : message;
  return accepted;
}
