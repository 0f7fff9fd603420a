// NMEA 0183 text from a GPS receiver: the position sentence (GGA) parsed into a fix, and the
// assembler that cuts the byte stream into whole sentences. Serial bytes are untrusted: a
// sentence that is not exactly of the expected shape is refused, never half used.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "xml/mstring.h"

// What one GGA sentence says.
enum class GgaResult {
  kFix,       // a valid position: `GgaFix` is filled
  kNoFix,     // the receiver reports fix quality 0
  kBadInput,  // not a well-formed GGA sentence (wrong field count, shape, checksum or range)
};

struct GgaFix {
  double latitude = 0;
  double longitude = 0;
  mstring latText;   // "%.6f"
  mstring lonText;   // "%.6f"
  mstring altitude;  // as the receiver sent it (metres)
  // The parts the position was made of, for the debug trace: the field followed by its
  // hemisphere ("4807.038N"), the degrees and minutes texts.
  mstring latField, latDegrees, latMinutes;
  mstring lonField, lonDegrees, lonMinutes;
};

// Whether `sentence` (from '$', without the line end) is a GGA sentence: "$GPGGA," or "$GNGGA,".
bool IsGgaSentence(const char* sentence, std::size_t length);
// Parses one whole GGA sentence (from '$', without the line end). The "*hh" checksum is
// checked when present.
GgaResult ParseGga(const char* sentence, std::size_t length, GgaFix* fix);

// The longest sentence kept while waiting for its end: NMEA allows 82 characters with the line
// end; receivers that stretch it get some slack.
constexpr std::size_t kMaxSentenceLength = 120;

// Cuts chunks of serial text into sentences. A sentence runs from '$' to its line end, or up to
// its "*hh" checksum; its unfinished tail waits for the next chunk. A sentence that never ends
// (a new '$' starts, or it grows past kMaxSentenceLength) is handed over as incomplete.
class MNmeaAssembler {
 public:
  // `sentence` is from '$' to the end (line end excluded); `complete` false for a broken one.
  using Sink = std::function<void(std::string_view sentence, bool complete)>;

  void Feed(const char* data, std::size_t length, const Sink& sink);
  // The unfinished sentence waiting for the next chunk.
  const std::string& Pending() const { return pending_; }

 private:
  void Emit(bool complete, const Sink& sink);

  std::string pending_;                   // from '$' on, never longer than kMaxSentenceLength
  std::size_t star_ = std::string::npos;  // where the checksum's '*' is in pending_
};
