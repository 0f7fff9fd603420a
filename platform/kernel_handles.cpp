// The kernel monitor and the handle table.
#include <cstdint>
#include <unordered_map>

#include "platform/kernel.h"
#include "platform/kernel_object.h"

namespace {

// Never destroyed: detached threads may still use kernel objects while the process exits.
struct HandleTable {
  std::mutex lock;
  std::condition_variable changed;
  std::unordered_map<std::uintptr_t, KernelObjectRef> objects;
  std::uintptr_t next = 0x100;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;
  return *table;
}

}  // namespace

std::mutex& KernelLock() {
  return Table().lock;
}
std::condition_variable& KernelChanged() {
  return Table().changed;
}

void AnnounceChange(const KernelObject& object) {
  if (object.waiters > 0) {
    Table().changed.notify_all();
  }
}

HANDLE InsertHandle(KernelObjectRef object) {
  HandleTable& table = Table();
  // Steps of 4 as on the handheld; the 64-bit counter does not wrap in practice.
  std::uintptr_t value = table.next;
  table.next += 4;
  table.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

KernelObjectRef LookupHandle(HANDLE handle) {
  auto& objects = Table().objects;
  auto found = objects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return found->second;
}

KernelObjectRef LookupHandle(HANDLE handle, KernelObject::Kind kind) {
  KernelObjectRef object = LookupHandle(handle);
  if (object && object->kind != kind) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return object;
}

BOOL CloseHandle(HANDLE handle) {
  KernelObjectRef last;  // released after the lock, in case this was the last reference
  std::lock_guard<std::mutex> guard(KernelLock());
  auto& objects = Table().objects;
  auto found = objects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  last = std::move(found->second);
  objects.erase(found);
  return TRUE;
}
