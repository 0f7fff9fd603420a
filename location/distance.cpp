#include "location/distance.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr double kDegreesToRadians = 0.0174532925;
constexpr double kEarthRadiusKm = 6373.0;

// Reads the text whatever the process locale says about decimal points (the display library
// sets the user's locale, and a German one would read "48.1173" as 48).
double ParseDegrees(const char* text) {
  if (text == nullptr) {
    return 0;
  }
  while (*text == ' ' || *text == '\t' || *text == '+') {
    ++text;
  }
  double value = 0;
  std::from_chars(text, text + std::strlen(text), value);
  return value;
}

}  // namespace

double Distance(const char* lat1, const char* lon1, const char* lat2, const char* lon2) {
  double phi1 = ParseDegrees(lat1) * kDegreesToRadians;
  double phi2 = ParseDegrees(lat2) * kDegreesToRadians;
  double dlat = phi2 - phi1;
  double dlon = (ParseDegrees(lon2) - ParseDegrees(lon1)) * kDegreesToRadians;
  double a = std::pow(std::sin(dlat / 2), 2) +
             std::cos(phi1) * std::cos(phi2) * std::pow(std::sin(dlon / 2), 2);
  // Rounding can push `a` a hair past 1 for antipodes; the square root of a negative is NaN.
  a = std::fmin(std::fmax(a, 0.0), 1.0);
  double c = 2 * std::atan2(std::sqrt(a), std::sqrt(1 - a));
  return kEarthRadiusKm * c;
}
