// The GPS receiver: finding and opening its port, and turning the NMEA text it sends into the
// stored position.
#pragma once

#include <string_view>

#include "location/nmea.h"
#include "xml/mstring.h"

class IJabberHost;

// Finds, opens and starts the receiver ("GPS PORT": "AUTO" tries COM8 down to COM2). On
// failure the user is told once and "ENABLE GPS" is turned off in memory. Any thread.
bool StartGps(IJabberHost& host);

// Reads NMEA text as the serial reader delivers it, chunk by chunk (a sentence may be split
// across chunks), on the UI thread.
class MNmeaReader {
 public:
  explicit MNmeaReader(IJabberHost& host) : host_(host) {}
  // One chunk: a complete position sentence ($GPGGA or $GNGGA) stores its position, sets the
  // fix indicator (command 113 on the main menu bar) and the status word.
  void ProcessNmea(const char* text);

 private:
  void HandleSentence(std::string_view sentence, bool complete);
  void TraceFix(std::string_view sentence, const GgaFix& fix);

  IJabberHost& host_;
  MNmeaAssembler assembler_;  // keeps the unfinished sentence at the end of the last chunk
};
