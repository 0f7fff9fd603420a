#include "xml/iq_id.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>

#include "xml/sha1.h"

namespace {

struct IdTable {
  std::mutex lock;  // the location thread makes requests too
  char ids[IQ_ID_SLOTS][SHA1_HEX_SIZE];
  char tags[IQ_ID_SLOTS][SHA1_HEX_SIZE];
  int next = -1;
  std::minstd_rand random;
};

IdTable& table() {
  static IdTable instance;
  return instance;
}

// Seconds of the current time in the low 16 bits, its milliseconds in the high 16 bits.
uint32_t time_seed() {
  using namespace std::chrono;
  auto now = system_clock::now().time_since_epoch();
  auto seconds = static_cast<uint32_t>(duration_cast<std::chrono::seconds>(now).count() % 60);
  auto millis = static_cast<uint32_t>(duration_cast<milliseconds>(now).count() % 1000);
  return seconds | (millis << 16);
}

}  // namespace

const char* iq_id_new(const char* text) {
  IdTable& t = table();
  std::lock_guard<std::mutex> hold(t.lock);
  if (t.next < 0) {
    t.next = 0;
    std::memset(t.ids, 0, sizeof t.ids);
    std::memset(t.tags, 0, sizeof t.tags);
    t.random.seed(time_seed());
  }
  char number[16];
  std::snprintf(number, sizeof number, "%d", static_cast<int>(t.random()));
  int slot = t.next;
  sha1_hex_text(number, t.ids[slot]);
  sha1_hex_text(text, t.tags[slot]);
  t.next = (t.next + 1) % IQ_ID_SLOTS;
  return t.ids[slot];
}

const char* iq_id_take(const char* id, const char* text) {
  if (!id || !text)
    return nullptr;
  char tag[SHA1_HEX_SIZE];
  if (sha1_hex_text(text, tag) < 0)
    return nullptr;
  IdTable& t = table();
  std::lock_guard<std::mutex> hold(t.lock);
  if (t.next < 0)
    return nullptr;
  for (int slot = 0; slot < IQ_ID_SLOTS; ++slot) {
    if (t.ids[slot][0] && std::strcmp(t.ids[slot], id) == 0 &&
        std::strcmp(t.tags[slot], tag) == 0) {
      t.tags[slot][0] = '\0';
      return t.ids[slot];
    }
  }
  return nullptr;
}

char* stanza_id_next(int32_t* counter, char out[STANZA_ID_SIZE]) {
  if (*counter < 1 || *counter > 9999999)
    *counter = 1;
  std::snprintf(out, STANZA_ID_SIZE, "%d", static_cast<int>(*counter));
  ++*counter;
  return out;
}
