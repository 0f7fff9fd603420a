#include "base/settings/settings.h"

#include <cstdio>
#include <cstring>

#include "base/settings/registry_values.h"
#include "base/settings/service_endpoints.h"
#include "platform/device_path.h"
#include "xml/text_convert.h"

namespace {

// The settings key, opened with create-or-open for one load or save and closed after it.
class SettingsKey {
 public:
  SettingsKey() {
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, kSettingsKey, u"REG_SZ", &key_, &disposition) !=
        ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~SettingsKey() { Close(); }
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;

  HKEY get() const { return key_; }
  // Writes the changes; false when the registry file could not be written.
  bool Close() {
    LONG result = key_ ? RegCloseKey(key_) : ERROR_INVALID_HANDLE;
    key_ = nullptr;
    return result == ERROR_SUCCESS;
  }

 private:
  HKEY key_ = nullptr;
};

void LoadFlag(HKEY key, const char* name, bool& flag, bool fallback) {
  DWORD value = 0;
  flag = ReadDword(key, name, value) ? value != 0 : fallback;
}

void LoadNumber(HKEY key, const char* name, DWORD& number, DWORD fallback) {
  if (!ReadDword(key, name, number)) {
    number = fallback;
  }
}

void LoadText(HKEY key, const char* name, mstring& text, const mstring& fallback) {
  if (!ReadNarrowText(key, name, text)) {
    text = fallback;
  }
}

void LoadWide(HKEY key, const char* name, wmstring& text, const wmstring& fallback) {
  if (!ReadWideText(key, name, text)) {
    text = fallback;
  }
}

bool CanOpenForReading(const wmstring& devicePath) {
  std::FILE* file = DeviceFopen(wide_to_mb(devicePath.c_str()).c_str(), "rb");
  if (!file) {
    return false;
  }
  std::fclose(file);
  return true;
}

void SaveFlag(HKEY key, const char* name, bool flag) {
  WriteDword(key, name, flag ? 1 : 0);
}

}  // namespace

MSettings::MSettings() {
  Load();
}

void MSettings::LoadSoundFile(HKEY key, const char* name, wmstring& value,
                              const wmstring& fallback) {
  // A sound file that cannot be opened is replaced by the built-in one.
  if (!ReadWideText(key, name, value) || !CanOpenForReading(value)) {
    value = fallback;
  }
}

bool MSettings::Load() {
  const SettingsValues d;  // the defaults
  SettingsKey settingsKey;
  HKEY key = settingsKey.get();

  LoadFlag(key, "SOUND SUPPORT", soundSupport, d.soundSupport);
  LoadFlag(key, "VIBRATE SUPPORT", vibrateSupport, d.vibrateSupport);
  LoadFlag(key, "SOUND ENTER SUPPORT", soundEnterSupport, d.soundEnterSupport);
  LoadFlag(key, "SOUND FIRST MESSAGE SUPPORT", soundFirstMessageSupport,
           d.soundFirstMessageSupport);
  LoadFlag(key, "SOUND MESSAGE SUPPORT", soundMessageSupport, d.soundMessageSupport);
  LoadFlag(key, "ENABLE PROXY", enableProxy, d.enableProxy);
  LoadFlag(key, "BRING TO FRONT", bringToFront, d.bringToFront);
  LoadFlag(key, "LOGIN ON STARTUP", loginOnStartup, d.loginOnStartup);
  LoadFlag(key, "DEBUG MODE", debugMode, d.debugMode);
  LoadFlag(key, "ENCRYPT SESSIONS", encryptSessions, d.encryptSessions);
  LoadFlag(key, "DISPLAY NO SERVICES DBOX", displayNoServicesDbox, d.displayNoServicesDbox);
  LoadNumber(key, "CHECK CONNECTION PERIOD", checkConnectionPeriod, d.checkConnectionPeriod);
  LoadNumber(key, "KEEPALIVE PERIOD", keepalivePeriod, d.keepalivePeriod);
  LoadNumber(key, "PRIORITY", priority, d.priority);
  LoadNumber(key, "LOCATION UPDATE PERIOD", locationUpdatePeriod, d.locationUpdatePeriod);
  LoadNumber(key, "VIBRATION DURATION", vibrationDuration, d.vibrationDuration);
  LoadFlag(key, "ENTERKEY SENDS", enterKeySends, d.enterKeySends);
  LoadFlag(key, "SHOW STATUS", showStatus, d.showStatus);
  LoadFlag(key, "SHOW SERVICES", showServices, d.showServices);
  LoadFlag(key, "SMALL BITMAPS", smallBitmaps, d.smallBitmaps);
  LoadFlag(key, "USE HASH AUTH", useHashAuth, d.useHashAuth);
  LoadFlag(key, "SHOW EMOTICONS", showEmoticons, d.showEmoticons);
  LoadFlag(key, "ENABLE POPUPS", enablePopups, d.enablePopups);
  LoadNumber(key, "PROXY PORT", proxyPort, d.proxyPort);
  LoadText(key, "PROXY SERVER", proxyServer, d.proxyServer);
  LoadText(key, "PROXY USERNAME", proxyUsername, d.proxyUsername);
  LoadText(key, "PROXY PASSWORD", proxyPassword, d.proxyPassword);
  LoadSoundFile(key, "SOUND ENTER", soundEnter, d.soundEnter);
  LoadSoundFile(key, "SOUND EXIT", soundExit, d.soundExit);
  LoadSoundFile(key, "SOUND FIRSTMESSAGE", soundFirstMessage, d.soundFirstMessage);
  LoadSoundFile(key, "SOUND MESSAGE", soundMessage, d.soundMessage);

  mstring module(GetModuleFileName().c_str());
  std::uint32_t lastSlash = std::uint32_t(-1);
  for (std::uint32_t at = module.find('\\'); at != mstring::npos; at = module.find('\\', at + 1)) {
    lastSlash = at;
  }
  if (lastSlash != std::uint32_t(-1)) {
    programFolder = module.substr(0, lastSlash + 1);
  }

  LoadText(key, "DEBUG FILEPATH", debugFilePath, d.debugFilePath);
  LoadText(key, "GPS PORT", gpsPort, d.gpsPort);
  LoadFlag(key, "LOCATION SUPPORT", locationSupport, d.locationSupport);
  LoadLocationValues(key);
  LoadFlag(key, "ENABLE GPS", enableGps, d.enableGps);
  LoadFlag(key, "TESSELCAST SUPPORT", tesselcastSupport, d.tesselcastSupport);
  LoadText(key, "TRUSTED TESSELCAST JID", trustedTesselcastJid, d.trustedTesselcastJid);
  LoadText(key, "LBS JID", lbsJid, d.lbsJid);
  lbsJid = d.lbsJid;  // the location service is always the built-in one
  LoadText(key, "MAP QUERY", mapQuery, d.mapQuery);
  LoadText(key, "MYLOC QUERY", mylocQuery, d.mylocQuery);
  LoadWide(key, "BROWSEREXEC", browserExec, d.browserExec);
  return true;
}

bool MSettings::Save() {
  SettingsKey settingsKey;
  HKEY key = settingsKey.get();
  if (!key) {
    return false;
  }
  SaveFlag(key, "SOUND SUPPORT", soundSupport);
  SaveFlag(key, "VIBRATE SUPPORT", vibrateSupport);
  SaveFlag(key, "SOUND ENTER SUPPORT", soundEnterSupport);
  SaveFlag(key, "SOUND FIRST MESSAGE SUPPORT", soundFirstMessageSupport);
  SaveFlag(key, "SOUND MESSAGE SUPPORT", soundMessageSupport);
  SaveFlag(key, "ENABLE PROXY", enableProxy);
  SaveFlag(key, "BRING TO FRONT", bringToFront);
  SaveFlag(key, "LOGIN ON STARTUP", loginOnStartup);
  SaveFlag(key, "ENCRYPT SESSIONS", encryptSessions);
  SaveFlag(key, "DISPLAY NO SERVICES DBOX", displayNoServicesDbox);
  SaveFlag(key, "DEBUG MODE", debugMode);
  WriteWideText(key, "SOUND ENTER", soundEnter);
  WriteWideText(key, "SOUND EXIT", soundExit);
  WriteWideText(key, "SOUND FIRSTMESSAGE", soundFirstMessage);
  WriteWideText(key, "SOUND MESSAGE", soundMessage);
  WriteDword(key, "CHECK CONNECTION PERIOD", checkConnectionPeriod);
  WriteDword(key, "KEEPALIVE PERIOD", keepalivePeriod);
  WriteDword(key, "LOCATION UPDATE PERIOD", locationUpdatePeriod);
  WriteDword(key, "PRIORITY", priority);
  SaveFlag(key, "ENTERKEY SENDS", enterKeySends);
  SaveFlag(key, "SHOW STATUS", showStatus);
  SaveFlag(key, "SHOW SERVICES", showServices);
  SaveFlag(key, "SMALL BITMAPS", smallBitmaps);
  SaveFlag(key, "USE HASH AUTH", useHashAuth);
  SaveFlag(key, "SHOW EMOTICONS", showEmoticons);
  SaveFlag(key, "ENABLE POPUPS", enablePopups);
  WriteDword(key, "PROXY PORT", proxyPort);
  WriteNarrowText(key, "PROXY SERVER", proxyServer);
  WriteNarrowText(key, "PROXY USERNAME", proxyUsername);
  WriteNarrowText(key, "PROXY PASSWORD", proxyPassword);
  WriteNarrowText(key, "DEBUG FILEPATH", debugFilePath);
  SaveFlag(key, "LOCATION SUPPORT", locationSupport);
  SaveFlag(key, "TESSELCAST SUPPORT", tesselcastSupport);
  SaveFlag(key, "ENABLE GPS", enableGps);
  SaveLocationValues(key);
  WriteNarrowText(key, "GPS PORT", gpsPort);
  WriteNarrowText(key, "TRUSTED TESSELCAST JID", trustedTesselcastJid);
  WriteNarrowText(key, "LBS JID", lbsJid);
  WriteNarrowText(key, "MAP QUERY", mapQuery);
  WriteNarrowText(key, "MYLOC QUERY", mylocQuery);
  WriteWideText(key, "BROWSEREXEC", browserExec);
  return settingsKey.Close();
}

void MSettings::LoadLocationValues(HKEY key) {
  const SettingsValues d;
  LoadText(key, "GPS UPDATE", gpsUpdate, d.gpsUpdate);
  LoadText(key, "LONGITUDE", longitude, d.longitude);
  LoadText(key, "LATITUDE", latitude, d.latitude);
  LoadText(key, "ALTITUDE", altitude, d.altitude);
}

void MSettings::SaveLocationValues(HKEY key) {
  WriteNarrowText(key, "LATITUDE", latitude);
  WriteNarrowText(key, "LONGITUDE", longitude);
  WriteNarrowText(key, "ALTITUDE", altitude);
  WriteNarrowText(key, "GPS UPDATE", gpsUpdate);
}

bool MSettings::LoadLocation() {
  SettingsKey settingsKey;
  LoadLocationValues(settingsKey.get());
  return true;
}

bool MSettings::SaveLocation() {
  SettingsKey settingsKey;
  if (!settingsKey.get()) {
    return false;
  }
  SaveLocationValues(settingsKey.get());
  return settingsKey.Close();
}

void MSettings::SetLoginOnStartup(bool on) {
  loginOnStartup = on;
  Save();
}

LOGFONT MSettings::DefaultFont() const {
  // The desktop's own text size; the handheld's 8 points only where no display runs. Never
  // smaller than a character height whose line is as tall as an emoticon (16 pixels).
  constexpr int kHandheldPoints = 8;
  constexpr int kSmallestPixels = 14;
  int desktopPoints = DesktopFontPointSize();
  int pixels = MulDiv(desktopPoints > 0 ? desktopPoints : kHandheldPoints, logPixelsY_, 72);
  if (desktopPoints > 0 && pixels < kSmallestPixels) {
    pixels = kSmallestPixels;
  }
  LOGFONT font{};
  font.lfHeight = -pixels;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_COMPAT_QUALITY;
  std::memcpy(font.lfFaceName, u"System", sizeof(u"System"));
  return font;
}

LOGFONT MSettings::GetFont(const mstring& windowName) const {
  auto found = fonts_.find(windowName);
  return found != fonts_.end() ? found->second : DefaultFont();
}

void MSettings::SetFont(const mstring& windowName, const LOGFONT& font) {
  fonts_[windowName] = font;
}

void MSettings::AddServiceAccount(IJabberService* account) {
  if (account) {
    services_.emplace_back(account);
  }
}

IJabberService* MSettings::FindServiceAccount(const WCHAR* type) const {
  for (const auto& service : services_) {
    if (wide_compare_nocase(service->GetType().c_str(), type) == 0) {
      return service.get();
    }
  }
  return nullptr;
}

IJabberService* MSettings::FindServiceAccountByName(const WCHAR* name) const {
  for (const auto& service : services_) {
    if (wide_compare_nocase(service->GetName().c_str(), name) == 0) {
      return service.get();
    }
  }
  return nullptr;
}

bool MSettings::SetupWizardDone() {
  SettingsKey settingsKey;
  DWORD value = 0;
  return settingsKey.get() && ReadDword(settingsKey.get(), "SetupWizard", value) && value != 0;
}

void MSettings::MarkSetupWizardDone() {
  SettingsKey settingsKey;
  if (settingsKey.get()) {
    WriteDword(settingsKey.get(), "SetupWizard", 1);
  }
}
