#include "roster/jabber_setup_check.h"

namespace {

// Characters a resource may not hold; a user name may hold '@' (the user part of a JID typed
// in full), but none of the others.
constexpr const WCHAR* kBadResourceChars = u":@><\\/|'\"%\t ";
constexpr const WCHAR* kBadUsernameChars = u":><\\/|'\"%\t ";

bool HoldsAnyOf(const wmstring& text, const WCHAR* set) {
  for (const WCHAR* c = set; *c; ++c) {
    if (text.find(*c) != wmstring::npos) {
      return true;
    }
  }
  return false;
}

JabberSetupCheck Refused(const WCHAR* text, const WCHAR* caption) {
  return JabberSetupCheck{false, text, caption};
}

}  // namespace

JabberSetupCheck CheckJabberSetup(JabberSetupFields& fields) {
  if (fields.resource.empty()) {
    fields.resource = kDefaultResource;
  }
  if (fields.username.empty()) {
    return Refused(u"Please enter a username. Username cannot be empty.", u"Bad Username");
  }
  if (fields.server.empty()) {
    return Refused(u"Please enter a servername. Servername cannot be empty.", u"Bad Servername");
  }
  if (HoldsAnyOf(fields.resource, kBadResourceChars)) {
    return Refused(
        u"Please choose another resource. Your Jabber resource cannot contain spaces, tabs or "
        u"any of the following characters:\":@><\\/|'\"%\"",
        u"Bad Resource");
  }
  if (HoldsAnyOf(fields.username, kBadUsernameChars)) {
    return Refused(
        u"Please choose another username. Your Jabber username cannot contain spaces, tabs or "
        u"any of the following characters:\":><\\/|'\"%\"",
        u"Bad Username");
  }
  return JabberSetupCheck{};
}
