// An NMEA sentence as a receiver sends it: "$" + body + "*hh" with the body's checksum (the
// exclusive-or of its bytes), without the line end.
#pragma once

#include <cstdio>
#include <string>

inline std::string NmeaSentence(const std::string& body) {
  unsigned sum = 0;
  for (char c : body) {
    sum ^= static_cast<unsigned char>(c);
  }
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", sum);
  return "$" + body + tail;
}
