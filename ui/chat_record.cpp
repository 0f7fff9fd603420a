// ChatRecord: the conversation's history under its lock.
#include "ui/chat_record.h"

#include <algorithm>

ChatRecord::ChatRecord(int type, const wmstring& displayName, const RosterItem& peer)
    : type(type), displayName(displayName), peer(peer) {
  InitializeCriticalSection(&lock_);
}

ChatRecord::~ChatRecord() {
  DeleteCriticalSection(&lock_);
}

std::u16string ChatRecord::History() {
  EnterCriticalSection(&lock_);
  std::u16string copy = history_;
  LeaveCriticalSection(&lock_);
  return copy;
}

std::size_t ChatRecord::HistoryLength() {
  EnterCriticalSection(&lock_);
  std::size_t length = history_.size();
  LeaveCriticalSection(&lock_);
  return length;
}

std::u16string ChatRecord::HistoryFrom(std::size_t from) {
  EnterCriticalSection(&lock_);
  std::u16string tail = history_.substr(std::min(from, history_.size()));
  LeaveCriticalSection(&lock_);
  return tail;
}

// std::u16string grows geometrically, so a long conversation costs linear time in all.
void ChatRecord::AppendMarkup(const std::u16string& markup) {
  EnterCriticalSection(&lock_);
  history_.append(markup);
  LeaveCriticalSection(&lock_);
}
