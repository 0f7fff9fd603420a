#include "app/notifications.h"

#include <atomic>
#include <vector>

#include "platform/notification.h"
#include "ui/html_entities.h"
#include "xml/text_convert.h"

namespace {

std::atomic<DWORD> nextId{10000};

const WCHAR kBodyStart[] =
    u"<html><head><meta http-equiv=\"Content-Type\"content=\"text/html\" /></head><body><form "
    u"method=\"POST\" action=>";
const WCHAR kBodyEnd[] =
    u"<p align=right><input type=button name='cmd:114' value='Chat'><input type=button "
    u"name='cmd:113' value='Close'></p></body></html>";
const WCHAR kNotificationTitle[] = u"orvik Messenger";

}  // namespace

wmstring NotificationBody(const wmstring& text) {
  return wmstring(kBodyStart) + wmstring(EncodeEntities(text.c_str()).c_str()) + kBodyEnd;
}

MNotificationManager::MNotificationManager(SinkProvider sink) : sink_(std::move(sink)) {}

DWORD MNotificationManager::FindByTitle(const wmstring& title) const {
  for (const auto& [id, record] : records_) {
    if (record.title == title) {
      return id;
    }
  }
  return 0;
}

void MNotificationManager::ShowNotification(const wmstring& title, const wmstring& text) {
  if (DWORD shown = FindByTitle(title)) {
    CloseNotification(shown);  // one popup per contact: the newest replaces it
  }
  HWND sink = sink_ ? sink_() : nullptr;
  if (sink == nullptr) {
    return;
  }
  DWORD id = nextId.fetch_add(1);
  Record record{sink, title, NotificationBody(text)};
  SHNOTIFICATIONDATA data;
  data.dwID = id;
  data.npPriority = SHNP_INFORM;
  data.csDuration = kBubbleSeconds;
  data.hwndSink = sink;
  data.pszHTML = record.body.c_str();
  data.pszTitle = kNotificationTitle;
  if (SHNotificationAdd(&data) != ERROR_SUCCESS) {
    return;
  }
  SetTimer(sink, id, kLifetimeMs, nullptr);
  records_.emplace(id, std::move(record));
}

void MNotificationManager::CloseNotification(DWORD id) {
  auto found = records_.find(id);
  if (found == records_.end()) {
    return;
  }
  KillTimer(found->second.sink, id);
  SHNotificationRemove(id);
  records_.erase(found);
}

bool MNotificationManager::HandleTimer(UINT_PTR id) {
  if (id > 0xFFFFFFFFu || !Has(static_cast<DWORD>(id))) {
    return false;
  }
  // An ignored popup leaves, and its record goes with it.
  CloseNotification(static_cast<DWORD>(id));
  return true;
}

void MNotificationManager::ChatFromNotification(DWORD id) {
  auto found = records_.find(id);
  if (found == records_.end()) {
    return;
  }
  mstring address = wide_to_utf8(found->second.title);
  std::string text(address.c_str());
  std::size_t slash = text.find('/');
  mstring jid(text.substr(0, slash).c_str());
  mstring resource(slash == std::string::npos ? "" : text.substr(slash + 1).c_str());
  if (chat_) {
    chat_(jid, resource);
  }
  CloseNotification(id);
}

void MNotificationManager::CloseAllNotifications() {
  std::vector<DWORD> ids;
  for (const auto& entry : records_) {
    ids.push_back(entry.first);
  }
  for (DWORD id : ids) {
    CloseNotification(id);
  }
}
