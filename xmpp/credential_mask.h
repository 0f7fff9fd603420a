// Credentials never reach the debug log: the SASL payload of <auth>, and the text of every
// <password> and <digest> element (legacy authentication, registration, a server's echo of
// them in an error) are replaced by "***" in the logged copy of a stanza.
#pragma once

#include <string>

std::string mask_credentials(const char* text);
