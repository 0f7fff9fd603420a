// Web pages about positions: the page of a user's location ("MYLOC QUERY") and a map of a
// position ("MAP QUERY"), opened in the browser ("BROWSEREXEC").
#pragma once

#include <vector>

#include "base/settings/settings.h"
#include "xml/mstring.h"

// The template with each "%s" replaced, in order, by the next value, percent-encoded (a "%s"
// without a value becomes ""). Every other character, "%2C" or "%d" included, stays as it is.
mstring FillUrlTemplate(const mstring& pattern, const std::vector<mstring>& values);

// Starts the browser on the location page of `jid`; false when the browser cannot be started.
bool ShowLocationPage(const MSettings& settings, const mstring& jid);
// Starts the browser on the map of the position.
bool ShowMapPage(const MSettings& settings, const mstring& lat, const mstring& lon);
