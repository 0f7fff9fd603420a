#include "app/cap_alert_intake.h"

#include <string>
#include <utility>

#include "alerts/cap_alert_wnd.h"
#include "app/app.h"
#include "app/cap_alert_map.h"
#include "xml/text_convert.h"

namespace {

mstring BareAddress(const char* from) {
  std::string address = from != nullptr ? from : "";
  return mstring(address.substr(0, address.find('/')).c_str());
}

}  // namespace

bool MCapAlertIntake::FromTrustedBroadcaster(const mstring& bare) const {
  const mstring& trusted = app_->settings->trustedTesselcastJid;
  return !bare.empty() && mstricmp(bare.c_str(), trusted.c_str()) == 0;
}

bool MCapAlertIntake::Received(packet* p) {
  if (p == nullptr || !app_->settings->tesselcastSupport || app_->capAlertWindow == nullptr) {
    return false;
  }
  mstring broadcaster = BareAddress(packet_from(p));
  if (!FromTrustedBroadcaster(broadcaster)) {
    return false;
  }
  CapAlert alert;
  if (!CapAlertFromMessage(p->x, &alert)) {
    return false;
  }
  wmstring headline = utf8_to_wide(alert.listText);
  if (!app_->capAlertWindow->AddAlert(std::move(alert))) {
    return false;  // the sender holds this alert already
  }
  if (notifier_ != nullptr && app_->settings->enablePopups) {
    notifier_->ShowPopup(utf8_to_wide(broadcaster), u"CAP alert: " + headline);
  }
  return true;
}
