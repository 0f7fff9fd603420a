// INotifier: how the program gets the user's attention for an event: a sound, a vibration, a
// popup. The dispatcher decides whether an event calls for one (the sound, vibration and popup
// settings, the quiet minute after the roster); the notifier only carries it out.
//
// MCountingNotifier carries out nothing and counts what it was asked: the program uses it until
// the desktop notifier is installed (MDispatcher::SetNotifier), and tests read its counters.
#pragma once

#include <array>
#include <cstddef>

#include "platform/kernel.h"
#include "xml/wmstring.h"

// Which sound setting's file to play.
enum class EventSound { Enter, Exit, Message, FirstMessage };

class INotifier {
 public:
  virtual ~INotifier() = default;
  // Plays the file named by the setting ("SOUND ENTER", "SOUND EXIT", "SOUND MESSAGE",
  // "SOUND FIRSTMESSAGE").
  virtual void PlayEventSound(EventSound which) = 0;
  virtual void Vibrate(DWORD milliseconds) = 0;
  // The notification popup. Title and text are plain text, possibly from the network: the
  // notifier escapes them before they enter the popup's HTML body.
  virtual void ShowPopup(const wmstring& title, const wmstring& text) = 0;
};

class MCountingNotifier : public INotifier {
 public:
  void PlayEventSound(EventSound which) override { ++sounds_[static_cast<std::size_t>(which)]; }
  void Vibrate(DWORD) override { ++vibrations_; }
  void ShowPopup(const wmstring& title, const wmstring& text) override {
    ++popups_;
    lastTitle_ = title;
    lastText_ = text;
  }

  int Sounds(EventSound which) const { return sounds_[static_cast<std::size_t>(which)]; }
  int Vibrations() const { return vibrations_; }
  int Popups() const { return popups_; }
  const wmstring& LastPopupTitle() const { return lastTitle_; }
  const wmstring& LastPopupText() const { return lastText_; }

 private:
  std::array<int, 4> sounds_{};
  int vibrations_ = 0;
  int popups_ = 0;
  wmstring lastTitle_;
  wmstring lastText_;
};
