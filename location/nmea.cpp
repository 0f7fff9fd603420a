#include "location/nmea.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "location/location_store.h"
#include "platform/hex_digit.h"

namespace {

// The fields of a GGA sentence after its name: time, latitude, N/S, longitude, E/W, fix
// quality, satellites, dilution, altitude, its unit, geoid height, its unit, age, station.
constexpr std::size_t kGgaFields = 14;
constexpr std::size_t kLatitude = 1, kNorthSouth = 2, kLongitude = 3, kEastWest = 4, kQuality = 5,
                      kAltitude = 8;
constexpr std::size_t kNameLength = 7;  // "$GPGGA,"

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (!IsDigit(c)) {
      return false;
    }
  }
  return true;
}

// The text the checksum covers (between '$' and '*'), or false when a "*hh" is present and
// does not match. `body` gets the sentence without its checksum.
bool CheckChecksum(std::string_view sentence, std::string_view* body) {
  std::size_t star = sentence.find('*');
  *body = sentence.substr(0, star);
  if (star == std::string_view::npos) {
    return true;  // the checksum is optional in GGA
  }
  if (sentence.size() != star + 3) {
    return false;
  }
  int high = HexDigitValue(sentence[star + 1]), low = HexDigitValue(sentence[star + 2]);
  if (high < 0 || low < 0) {
    return false;
  }
  unsigned sum = 0;
  for (char c : sentence.substr(1, star - 1)) {
    sum ^= static_cast<unsigned char>(c);
  }
  return sum == static_cast<unsigned>(high * 16 + low);
}

std::vector<std::string_view> SplitFields(std::string_view body) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (fields.size() <= kGgaFields) {
    std::size_t comma = body.find(',', start);
    fields.push_back(body.substr(start, comma - start));
    if (comma == std::string_view::npos) {
      break;
    }
    start = comma + 1;
  }
  return fields;
}

// "ddmm.mmmm" (latitude, 2 degree digits) or "dddmm.mmmm" (longitude, 3): whole minutes below
// 60, decimals optional.
bool AngleShape(std::string_view field, std::size_t degreeDigits) {
  std::size_t whole = degreeDigits + 2;
  if (field.size() < whole || !AllDigits(field.substr(0, whole))) {
    return false;
  }
  if (field[degreeDigits] >= '6') {
    return false;
  }
  if (field.size() == whole) {
    return true;
  }
  return field[whole] == '.' && field.size() > whole + 1 && AllDigits(field.substr(whole + 1));
}

// An optional sign, digits, optional decimals; empty is allowed (no altitude known).
bool DecimalShape(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    text.remove_prefix(1);
  }
  std::size_t dot = text.find('.');
  std::string_view whole = text.substr(0, dot);
  std::string_view decimals = dot == std::string_view::npos ? "" : text.substr(dot + 1);
  return AllDigits(whole) && AllDigits(decimals) &&
         (dot == std::string_view::npos || !whole.empty() || !decimals.empty());
}

mstring Text(std::string_view view) {
  return mstring(view.data(), static_cast<std::uint32_t>(view.size()));
}

mstring FormatAngle(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6f", value);
  return mstring(text);
}

// Degrees plus minutes / 60, negative in the southern or western hemisphere.
double AngleValue(const std::string& degrees, const std::string& minutes, bool negative) {
  double value =
      std::strtod(degrees.c_str(), nullptr) + std::strtod(minutes.c_str(), nullptr) / 60.0;
  return negative ? -value : value;
}

bool ParseAngle(std::string_view field, std::string_view hemisphere, std::size_t degreeDigits,
                const char* hemispheres, double* value, mstring* degreesText,
                mstring* minutesText) {
  if (!AngleShape(field, degreeDigits) || hemisphere.size() != 1 ||
      (hemisphere[0] != hemispheres[0] && hemisphere[0] != hemispheres[1])) {
    return false;
  }
  std::string degrees(field.substr(0, degreeDigits));
  std::string minutes(field.substr(degreeDigits));
  *value = AngleValue(degrees, minutes, hemisphere[0] == hemispheres[1]);
  *degreesText = degrees.c_str();
  *minutesText = minutes.c_str();
  return true;
}

}  // namespace

bool IsGgaSentence(const char* sentence, std::size_t length) {
  std::string_view text(sentence, length);
  return text.starts_with("$GPGGA,") || text.starts_with("$GNGGA,");
}

GgaResult ParseGga(const char* sentence, std::size_t length, GgaFix* fix) {
  std::string_view body;
  if (!IsGgaSentence(sentence, length) || !CheckChecksum({sentence, length}, &body)) {
    return GgaResult::kBadInput;
  }
  std::vector<std::string_view> fields = SplitFields(body.substr(kNameLength));
  if (fields.size() != kGgaFields) {
    return GgaResult::kBadInput;
  }
  if (fields[kQuality] == "0") {
    return GgaResult::kNoFix;
  }
  if (fields[kQuality].empty() || !AllDigits(fields[kQuality]) ||
      !DecimalShape(fields[kAltitude])) {
    return GgaResult::kBadInput;
  }
  if (!ParseAngle(fields[kLatitude], fields[kNorthSouth], 2, "NS", &fix->latitude, &fix->latDegrees,
                  &fix->latMinutes) ||
      !ParseAngle(fields[kLongitude], fields[kEastWest], 3, "EW", &fix->longitude, &fix->lonDegrees,
                  &fix->lonMinutes) ||
      !IsValidLocation(fix->latitude, fix->longitude)) {
    return GgaResult::kBadInput;
  }
  fix->latText = FormatAngle(fix->latitude);
  fix->lonText = FormatAngle(fix->longitude);
  fix->altitude = Text(fields[kAltitude]);
  fix->latField = Text(fields[kLatitude]) + Text(fields[kNorthSouth]);
  fix->lonField = Text(fields[kLongitude]) + Text(fields[kEastWest]);
  return GgaResult::kFix;
}

void MNmeaAssembler::Emit(bool complete, const Sink& sink) {
  std::string sentence;
  sentence.swap(pending_);
  star_ = std::string::npos;
  sink(sentence, complete);
}

void MNmeaAssembler::Feed(const char* data, std::size_t length, const Sink& sink) {
  for (std::size_t i = 0; i < length; ++i) {
    char c = data[i];
    if (pending_.empty()) {
      if (c == '$') {
        pending_.push_back(c);
      }
      continue;  // bytes between sentences mean nothing
    }
    if (c == '\r' || c == '\n') {
      Emit(true, sink);
      continue;
    }
    if (c == '$') {
      Emit(false, sink);  // a new sentence began before this one ended
      pending_.push_back(c);
      continue;
    }
    pending_.push_back(c);
    if (c == '*' && star_ == std::string::npos) {
      star_ = pending_.size() - 1;
    }
    if (star_ != std::string::npos && pending_.size() == star_ + 3) {
      Emit(true, sink);  // the checksum ends the sentence
    } else if (pending_.size() > kMaxSentenceLength) {
      Emit(false, sink);
    }
  }
}
