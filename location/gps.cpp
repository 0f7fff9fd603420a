#include "location/gps.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "location/fix_indicator.h"
#include "location/gps_status.h"
#include "location/location_store.h"
#include "location/serial_reader.h"
#include "xmpp/jabber_host.h"

namespace {

constexpr DWORD kGpsBaudRate = 4800;
constexpr DWORD kStartLockWait = 10000;  // ms
constexpr int kHighestAutoPort = 8;
constexpr int kLowestAutoPort = 2;  // COM1 is never tried automatically

// The ports a start tries: COM8 down to COM2 for "AUTO", else the one port the setting names
// by all its digits ("COM4:" is 4, "COM10:" 10); none for a setting that names no port.
std::vector<int> PortsToTry(const mstring& setting) {
  std::vector<int> ports;
  if (setting == "AUTO") {
    for (int port = kHighestAutoPort; port >= kLowestAutoPort; --port) {
      ports.push_back(port);
    }
    return ports;
  }
  const char* text = setting.c_str();
  if (mstricmp(setting.substr(0, 3).c_str(), "COM") != 0) {
    return ports;
  }
  int port = 0;
  std::size_t digits = 0;
  for (text += 3; *text >= '0' && *text <= '9' && digits < 4; ++text, ++digits) {
    port = port * 10 + (*text - '0');
  }
  bool rest = *text == '\0' || (*text == ':' && text[1] == '\0');
  if (digits > 0 && rest) {
    ports.push_back(port);
  }
  return ports;
}

// Opens the first port that opens as the receiver's; false when none does.
bool OpenReceiver(IJabberHost& host) {
  SerialReader::Destroy();
  for (int port : PortsToTry(host.Settings().gpsPort)) {
    if (SerialReader::Create(host.MainWindow(), port, kGpsBaudRate) != 1) {
      continue;
    }
    if (SerialReader::Instance()->Open()) {
      char status[32];
      std::snprintf(status, sizeof status, "GPS ON COM%d", port);
      SetGpsStatus(status);
      return true;
    }
    SerialReader::Destroy();
  }
  return false;
}

void ReportFailure(IJabberHost& host) {
  SetGpsStatus("INIT FAILED");
  const mstring& setting = host.Settings().gpsPort;
  if (!(setting == "AUTO")) {
    host.ShowMessageBox(("Cannot open GPS COM Port " + setting).c_str(), nullptr);
  }
  host.ShowMessageBox(
      "Cannot initialize GPS. Please make sure a GPS receiver is connected and available.",
      nullptr);
}

// Serial bytes as log-window markup: printable ASCII with the markup characters as entities,
// every other byte as '?', so nothing a receiver sends becomes a tag or breaks the view.
mstring LogSafe(std::string_view text) {
  std::string safe;
  for (char c : text) {
    switch (c) {
      case '&':
        safe += "&amp;";
        break;
      case '<':
        safe += "&lt;";
        break;
      case '>':
        safe += "&gt;";
        break;
      case '"':
        safe += "&quot;";
        break;
      case '\'':
        safe += "&apos;";
        break;
      default:
        safe += c >= 0x20 && c < 0x7F ? c : '?';
    }
  }
  return mstring(safe.c_str());
}

mstring AngleTrace(const mstring& field, const mstring& degrees, const mstring& minutes,
                   const mstring& value) {
  char hemisphere = field.empty() ? '?' : field.c_str()[field.length() - 1];
  std::string line = std::string(field.c_str()) + "=[" + degrees.c_str() + "," + minutes.c_str() +
                     "," + hemisphere + "]=" + value.c_str();
  return LogSafe(line);
}

}  // namespace

bool StartGps(IJabberHost& host) {
  SetGpsStatus("INITIALIZING");
  MAppMutexes& mutexes = host.Mutexes();
  HANDLE lock = mutexes.CreateAppMutex("LBSGPSMUTEX", false);
  if (lock == nullptr) {
    host.ShowMessageBox("Cannot init GPS", nullptr);
    return false;
  }
  bool opened = false;
  DWORD waited = WaitForSingleObject(lock, kStartLockWait);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    SetGpsStatus("NOT LOCKED");
  } else if (!(opened = OpenReceiver(host))) {
    ReportFailure(host);
  }
  if (!opened) {
    host.Settings().enableGps = false;  // in memory only: the location thread stops retrying
  }
  mutexes.CloseAppMutex(lock);
  return opened;
}

void MNmeaReader::ProcessNmea(const char* text) {
  if (text == nullptr) {
    return;
  }
  SetGpsStatus("PARSING");
  assembler_.Feed(text, std::strlen(text), [this](std::string_view sentence, bool complete) {
    HandleSentence(sentence, complete);
  });
}

void MNmeaReader::HandleSentence(std::string_view sentence, bool complete) {
  if (!IsGgaSentence(sentence.data(), sentence.size())) {
    return;  // other sentences carry nothing the program uses
  }
  GgaFix fix;
  GgaResult result =
      complete ? ParseGga(sentence.data(), sentence.size(), &fix) : GgaResult::kBadInput;
  if (result == GgaResult::kBadInput) {
    SetGpsStatus("READ ERROR");
    return;
  }
  if (result == GgaResult::kNoFix) {
    ShowGpsFix(false);
    SetGpsStatus("NO GPS FIX");
    return;
  }
  if (fix.latitude > 0 && fix.longitude > 0) {
    TraceFix(sentence, fix);
  }
  SetGpsStatus("OK - UPDATED");
  SetLocation(host_, fix.altitude, fix.lonText, fix.latText, LocationTimestampNow());
  ShowGpsFix(true);
}

// The raw sentence and how it was read, in the log window, only for a user who asked for
// traces.
void MNmeaReader::TraceFix(std::string_view sentence, const GgaFix& fix) {
  if (!host_.Settings().debugMode) {
    return;
  }
  host_.AppendLog("INP=");
  host_.AppendLog(LogSafe(sentence).c_str());
  host_.AppendLog("\n");
  host_.AppendLog(AngleTrace(fix.latField, fix.latDegrees, fix.latMinutes, fix.latText).c_str());
  host_.AppendLog(AngleTrace(fix.lonField, fix.lonDegrees, fix.lonMinutes, fix.lonText).c_str());
  host_.AppendLog("\n");
}
