// Request ids: the table of ids bound to the text they were made for, and the connection's
// numeric stanza ids.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int IQ_ID_SLOTS = 100;

// A fresh 40-character id bound to `text` (the own full address, or an item address). The
// text lives in the table until its slot is reused 100 ids later: callers copy it.
const char* iq_id_new(const char* text);
// The slot whose id equals `id` and whose binding is `text`: its binding is cleared and its id
// returned. Null when there is none.
const char* iq_id_take(const char* id, const char* text);

// The connection's numeric id: `*counter` as decimal text into `out` (at most 7 digits; after
// 9999999 it starts again at 1), then `*counter` advances. Returns `out`.
constexpr size_t STANZA_ID_SIZE = 8;
char* stanza_id_next(int32_t* counter, char out[STANZA_ID_SIZE]);
