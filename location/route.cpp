#include "location/route.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "xml/packet_lists.h"
#include "xml/xml_escape.h"
#include "xmpp/iq_tracking.h"

namespace {

constexpr size_t kFieldSize = 256;

route_place Place(const RouteEndpoint& end) {
  return {end.user.c_str(),  end.street.c_str(), end.city.c_str(),
          end.state.c_str(), end.zip.c_str(),    end.country.c_str()};
}

std::string Escaped(const char* text) {
  char* escaped = xml_escape(nullptr, text);
  std::string out = escaped != nullptr ? escaped : "";
  std::free(escaped);
  return out;
}

// The jid, or else the non-empty address parts joined by single blanks.
std::string Describe(char fields[ROUTE_FIELDS][kFieldSize]) {
  if (fields[ROUTE_JID][0] != '\0') {
    return Escaped(fields[ROUTE_JID]);
  }
  std::string out;
  for (int part : {ROUTE_STREET, ROUTE_CITY, ROUTE_STATE, ROUTE_ZIP, ROUTE_COUNTRY}) {
    if (fields[part][0] != '\0') {
      out += out.empty() ? "" : " ";
      out += Escaped(fields[part]);
    }
  }
  return out;
}

}  // namespace

int RequestRoute(MJabberSession* session, const mstring& service, const RouteEndpoint& start,
                 const RouteEndpoint& destination) {
  if (!start.user.empty() && !destination.user.empty()) {
    return request_route(session, service.c_str(), start.user.c_str(), destination.user.c_str());
  }
  route_place source = Place(start);
  route_place target = Place(destination);
  return request_route_address(session, service.c_str(), &source, &target);
}

mstring RouteMarkup(packet* answer) {
  char src[ROUTE_FIELDS][kFieldSize] = {};
  char dst[ROUTE_FIELDS][kFieldSize] = {};
  field_buf srcBufs[ROUTE_FIELDS], dstBufs[ROUTE_FIELDS];
  for (int i = 0; i < ROUTE_FIELDS; ++i) {
    srcBufs[i] = {src[i], kFieldSize};
    dstBufs[i] = {dst[i], kFieldSize};
  }
  text_rec* segments = packet_route(answer, srcBufs, dstBufs);
  std::string out = "<P><b>Route from " + Describe(src) + " to " + Describe(dst) + ":</b></P>";
  int number = 0;
  for (text_rec* segment = segments; segment != nullptr; segment = segment->next) {
    if (segment->text == nullptr || segment->text[0] == '\0') {
      continue;  // no text: no number
    }
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "<P>[%d] ", number++);
    out += prefix + Escaped(segment->text) + "</P>";
  }
  text_list_free(segments);
  return mstring(out.c_str());
}
