// The great-circle distance between two positions, for the contact information dialog.
#pragma once

// Kilometres between (lat1, lon1) and (lat2, lon2), each a decimal text in degrees ("48.1173").
// A text that is not a number counts as 0.
double Distance(const char* lat1, const char* lon1, const char* lat2, const char* lon2);
