// The status word store: one word behind a lock, since the reader thread writes it while the
// user-interface thread reads it.
#include "location/gps_status.h"

#include <mutex>

namespace {

struct StatusStore {
  std::mutex mutex;
  mstring word;
  GpsStatusListener listener = nullptr;
  void* context = nullptr;
};

StatusStore& Store() {
  static StatusStore store;
  return store;
}

}  // namespace

void SetGpsStatus(const char* word) {
  StatusStore& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.word = word != nullptr ? word : "";
  if (store.listener != nullptr) {
    store.listener(store.word.c_str(), store.context);
  }
}

mstring GpsStatus() {
  StatusStore& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  return store.word;
}

void SetGpsStatusListener(GpsStatusListener listener, void* context) {
  StatusStore& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.listener = listener;
  store.context = context;
}
