// ChatRecord: one open conversation of the chat window: who it is with, its history as view
// markup, and for a conference room the participants. The history may be appended to from
// any thread (under the record's lock); everything else belongs to the user-interface thread.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/critical_section.h"
#include "roster/roster_item.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

// The kinds of conversation.
constexpr int kChatOneToOne = 1;
constexpr int kChatGroup = 2;  // every member of a roster group
constexpr int kChatConference = 4;

// One occupant of a conference room, keyed by nickname in the record.
struct MucParticipant {
  mstring role;
  mstring affiliation;
  mstring show;
};

class ChatRecord {
 public:
  ChatRecord(int type, const wmstring& displayName, const RosterItem& peer);
  ~ChatRecord();
  ChatRecord(const ChatRecord&) = delete;
  ChatRecord& operator=(const ChatRecord&) = delete;

  int type;
  mstring thread;  // the last message's thread, kept for the conversation
  wmstring displayName;
  // The peer: its jid is the record's key and its title in the conversation list (a room's
  // address, a bare address, or a room participant's full address); its name the header name.
  RosterItem peer;
  std::uint8_t shown = 0;       // the window has drawn this record
  std::uint8_t newMessage = 0;  // a message arrived that the user has not seen
  // Conference only: the occupants by nickname (UTF-8).
  std::map<mstring, MucParticipant> participants;
  // What the user had typed in the input field when another conversation was made current.
  wmstring draft;

  // The history is view markup that only grows. A copy, and its length, under the lock.
  std::u16string History();
  std::size_t HistoryLength();
  // The history from `from` on (what a view that already shows the rest lacks).
  std::u16string HistoryFrom(std::size_t from);
  // Appends markup as it is (the formatting is the chat window's AppendToHistory).
  void AppendMarkup(const std::u16string& markup);

 private:
  CRITICAL_SECTION lock_;
  std::u16string history_;
};
