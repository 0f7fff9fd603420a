// Headline: one news item as it came from the network: a link, a title and a description,
// from a named source. Every field is untrusted text until a page escapes it.
#pragma once

#include "xml/mstring.h"
#include "xml/wmstring.h"

struct Headline {
  mstring url;      // the link, as received (any scheme)
  wmstring source;  // who sent it: the roster name, else the bare address
  wmstring title;
  wmstring description;
};
