// Escaping and unescaping of the five predefined XML entities.
#pragma once

#include "xml/pool.h"

// Each of & ' " < > replaced by its entity. The result comes from `p`, or from the general
// heap when `p` is null (the caller then frees it with free). Null text gives null.
char* xml_escape(pool* p, const char* text);
// "&amp;" "&quot;" "&apos;" "&lt;" "&gt;" replaced by their characters; any other '&' and
// what follows it are copied unchanged. Same ownership rules as xml_escape.
char* xml_unescape(pool* p, const char* text);
