#include "app/desktop_notifier.h"

#include "platform/sound.h"

const wmstring& MDesktopNotifier::SoundFile(const SettingsValues& settings, EventSound which) {
  switch (which) {
    case EventSound::Enter:
      return settings.soundEnter;
    case EventSound::Exit:
      return settings.soundExit;
    case EventSound::FirstMessage:
      return settings.soundFirstMessage;
    case EventSound::Message:
    default:
      return settings.soundMessage;
  }
}

void MDesktopNotifier::PlayEventSound(EventSound which) {
  const SettingsValues* settings = settings_ ? settings_() : nullptr;
  if (settings == nullptr) {
    return;
  }
  // Switching the display on has no counterpart on the desktop.
  PlaySound(SoundFile(*settings, which).c_str(), nullptr,
            SND_ASYNC | SND_FILENAME | SND_NODEFAULT | SND_NOSTOP);
}

void MDesktopNotifier::ShowPopup(const wmstring& title, const wmstring& text) {
  if (popups_ != nullptr) {
    popups_->ShowNotification(title, text);
  }
}
