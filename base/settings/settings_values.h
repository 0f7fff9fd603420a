// Every persistent setting of the program with its default. The member initialisers are the
// defaults: a default-constructed SettingsValues is what an empty registry yields.
#pragma once

#include "platform/win32_types.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

struct SettingsValues {
  bool soundSupport = true;
  bool vibrateSupport = true;
  bool soundEnterSupport = true;
  bool soundFirstMessageSupport = true;
  bool soundMessageSupport = true;
  bool enableProxy = false;
  bool bringToFront = true;
  bool loginOnStartup = false;
  bool debugMode = false;
  bool encryptSessions = false;
  bool displayNoServicesDbox = true;
  DWORD checkConnectionPeriod = 10000;  // ms before the next automatic login attempt
  DWORD keepalivePeriod = 50000;        // ms of silence before a keepalive
  DWORD priority = 2;
  DWORD locationUpdatePeriod = 10000;  // ms; lifetime sent with a location answer
  DWORD vibrationDuration = 1000;      // ms; loaded, never saved
  bool enterKeySends = true;
  bool showStatus = true;
  bool showServices = true;
  bool smallBitmaps = false;
  bool useHashAuth = true;
  bool showEmoticons = true;
  bool enablePopups = true;
  DWORD proxyPort = 1080;
  mstring proxyServer = "";
  mstring proxyUsername = "";
  mstring proxyPassword = "";
  wmstring soundEnter = u"\\WINDOWS\\orvikenter.wav";
  wmstring soundExit = u"\\WINDOWS\\orvikexit.wav";
  wmstring soundFirstMessage = u"\\WINDOWS\\orvikmessage.wav";
  wmstring soundMessage = u"\\WINDOWS\\orvikmessage.wav";
  mstring debugFilePath = "\\WINDOWS\\debuglog.xml";
  mstring gpsPort = "AUTO";
  bool locationSupport = false;
  mstring gpsUpdate = "";
  mstring longitude = "0.00";
  mstring latitude = "0.00";
  mstring altitude = "0.00";
  bool enableGps = false;
  bool tesselcastSupport = false;
  mstring trustedTesselcastJid;  // the broadcast service (see service_endpoints.h)
  mstring lbsJid;                // the location service (see service_endpoints.h)
  mstring mapQuery;
  mstring mylocQuery;
  wmstring browserExec = u"iexplore.exe";

  SettingsValues();
};
