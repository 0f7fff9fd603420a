// CapAlert: one emergency alert in the Common Alerting Protocol 1.0 format, as the alert viewer
// keeps it. The fields are narrow UTF-8 text in the order the viewer always kept them; `source`
// and `note` are carried along but not shown.
#pragma once

#include "xml/mstring.h"

struct CapAlert {
  mstring identifier;  // "ID:"; the key of an alert within its sender
  mstring source;      // not shown
  mstring sent;
  mstring status;
  mstring msgType;
  mstring scope;
  mstring category;
  mstring urgency;
  mstring certainty;
  mstring eventCode;
  mstring sender;    // the grouping key
  mstring listText;  // the link text in the sender's list
  mstring summary;   // an unlabelled paragraph of the detail page
  mstring instruction;
  mstring contact;
  mstring affects;
  mstring note;  // not shown
};
