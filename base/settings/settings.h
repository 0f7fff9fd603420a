// The settings store: every user preference, loaded from the registry key
// "Software\tessel Software\Chirrup" when the store is created and written back by Save()
// wherever a preference changes. It also keeps, for this run only, the program folder, the
// only-online-contacts flag, the font of each window and the list of service accounts.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "base/settings/jabber_service.h"
#include "base/settings/settings_values.h"
#include "platform/logfont.h"
#include "platform/registry.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

constexpr const WCHAR* kSettingsKey = u"Software\\tessel Software\\Chirrup";

class MSettings : public SettingsValues {
 public:
  // Starts from the defaults and loads at once.
  MSettings();
  MSettings(const MSettings&) = delete;
  MSettings& operator=(const MSettings&) = delete;

  // Reads every persistent value in table order; a value that cannot be read keeps its default.
  bool Load();
  // Writes every persistent value except "VIBRATION DURATION". False when the registry file
  // could not be written (the values stay as they were on disk).
  bool Save();
  bool LoadLocation();
  bool SaveLocation();
  void SetLoginOnStartup(bool on);

  // Fonts chosen per window, for this run only.
  LOGFONT GetFont(const mstring& windowName) const;
  void SetFont(const mstring& windowName, const LOGFONT& font);
  LOGFONT DefaultFont() const;
  // The screen's vertical resolution, for the default font's height (the display layer sets it).
  void SetScreenLogPixelsY(int pixelsPerInch) { logPixelsY_ = pixelsPerInch; }

  // Service accounts, in the order added; the store owns them.
  void AddServiceAccount(IJabberService* account);
  IJabberService* FindServiceAccount(const WCHAR* type) const;
  IJabberService* FindServiceAccountByName(const WCHAR* name) const;
  std::size_t ServiceAccountCount() const { return services_.size(); }
  IJabberService* ServiceAccount(std::size_t index) const { return services_[index].get(); }

  // Whether the setup wizard has run ("SetupWizard" in the same key; not part of Load/Save).
  static bool SetupWizardDone();
  static void MarkSetupWizardDone();

  // The executable's folder in device form, ending in a backslash.
  mstring programFolder = "\\Program Files\\orvik Messenger\\";
  bool onlyOnline = false;

 private:
  void LoadLocationValues(HKEY key);
  void SaveLocationValues(HKEY key);
  void LoadSoundFile(HKEY key, const char* name, wmstring& value, const wmstring& fallback);

  std::map<mstring, LOGFONT> fonts_;
  std::vector<std::unique_ptr<IJabberService>> services_;
  int logPixelsY_ = 96;
};
