// How a received CAP 1.0 alert becomes the viewer's record. The elements are read by name:
// from the alert `identifier`, `sender`, `sent`, `status`, `msgType`, `scope`, `source` and
// `note`; from its first `info` `category`, `urgency`, `certainty`, `eventCode`, `headline`
// (the list text), `description` (the summary), `instruction`, `contact` and the `areaDesc`
// of every `area` (joined with "; ") as what the alert affects.
//
// The input is untrusted: every field is cut to kMaxCapFieldBytes at a character boundary, so
// one alert cannot hold more than a bounded amount of memory for as long as the viewer keeps it.
#pragma once

#include <cstddef>

#include "alerts/cap_alert.h"
#include "xml/xml_node.h"

constexpr std::size_t kMaxCapFieldBytes = 4096;

// `message`: a message stanza carrying an `alert` child. False (and `alert` untouched) when
// there is no such child or it has no identifier. An alert without a sender is grouped under
// the bare address of the message's sender. A list text is never empty: without a headline
// the event, then the identifier stands for the alert.
bool CapAlertFromMessage(xml_node* message, CapAlert* alert);
