// MDesktopNotifier: the notifier the program installs in the dispatcher. Sounds are the files
// the sound settings name, played without waiting (none while another still plays); vibration
// has no device here; popups go to the notification manager.
#pragma once

#include <functional>

#include "app/notifications.h"
#include "app/notifier.h"
#include "base/settings/settings_values.h"

class MDesktopNotifier : public INotifier {
 public:
  // The settings are read at each event (they change in the dialogs and may be loaded after
  // the notifier is made).
  using SettingsProvider = std::function<const SettingsValues*()>;
  MDesktopNotifier(SettingsProvider settings, MNotificationManager* popups)
      : settings_(std::move(settings)), popups_(popups) {}

  void PlayEventSound(EventSound which) override;
  void Vibrate(DWORD) override {}
  void ShowPopup(const wmstring& title, const wmstring& text) override;

  // The file setting of an event's sound.
  static const wmstring& SoundFile(const SettingsValues& settings, EventSound which);

 private:
  SettingsProvider settings_;
  MNotificationManager* popups_;
};
