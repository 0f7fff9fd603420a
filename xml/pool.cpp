#include "xml/pool.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The general heap failing leaves nothing sensible to do for code that never checks for
// null, so the process ends with a message instead of crashing later on a null pointer.
void* heap_alloc(size_t size) {
  void* memory = std::malloc(size ? size : 1);
  if (!memory) {
    std::fputs("Out of memory [pool allocation failed, exiting]\n", stderr);
    std::abort();
  }
  return memory;
}

// Counted modulo 2^32 like the signed 32-bit field it is; never undefined on overflow.
void count_bytes(pool* p, size_t bytes) {
  p->size = static_cast<int32_t>(static_cast<uint32_t>(p->size) + static_cast<uint32_t>(bytes));
}

void cleanup_append(pool* p, void (*free_fn)(void*), void* arg, pool_heap* heap) {
  auto* rec = static_cast<pool_cleanup_rec*>(heap_alloc(sizeof(pool_cleanup_rec)));
  rec->free_fn = free_fn;
  rec->arg = arg;
  rec->heap = heap;
  rec->next = nullptr;
  if (p->cleanup_last)
    p->cleanup_last->next = rec;
  else
    p->cleanup_first = rec;
  p->cleanup_last = rec;
}

// The heap block record and its memory are one allocation, released by one free.
constexpr size_t kHeapHeader = (sizeof(pool_heap) + 15) & ~size_t{15};

pool_heap* heap_new(pool* p, int size) {
  char* memory = static_cast<char*>(heap_alloc(kHeapHeader + static_cast<size_t>(size)));
  auto* heap = reinterpret_cast<pool_heap*>(memory);
  heap->block = memory + kHeapHeader;
  heap->size = size;
  heap->used = 0;
  count_bytes(p, static_cast<size_t>(size));
  cleanup_append(p, std::free, heap, heap);
  return heap;
}

}  // namespace

pool* pool_create() {
  auto* p = static_cast<pool*>(heap_alloc(sizeof(pool)));
  p->size = 0;
  p->cleanup_first = p->cleanup_last = nullptr;
  p->heap = nullptr;
  return p;
}

pool* pool_create_with_heap(int size) {
  pool* p = pool_create();
  if (size > 0)
    p->heap = heap_new(p, size);
  return p;
}

void* pmalloc(pool* p, size_t size) {
  if (!p) {
    std::fputs("Memory Leak! [pmalloc received NULL pool, unable to track allocation, exiting]\n",
               stderr);
    std::exit(1);
  }
  if (!p->heap || size > static_cast<size_t>(p->heap->size / 2)) {
    void* block = heap_alloc(size);
    count_bytes(p, size);
    cleanup_append(p, std::free, block, nullptr);
    return block;
  }
  if (size >= 4)
    p->heap->used = (p->heap->used + 7) & ~7;
  if (static_cast<long>(size) > static_cast<long>(p->heap->size) - p->heap->used)
    p->heap = heap_new(p, p->heap->size);
  void* result = p->heap->block + p->heap->used;
  p->heap->used += static_cast<int>(size);
  return result;
}

void* pmalloc_fill(pool* p, size_t size, int byte) {
  void* block = pmalloc(p, size);
  if (block)
    std::memset(block, byte, size);
  return block;
}

char* pool_strndup(pool* p, const char* text, size_t length) {
  if (!text)
    return nullptr;
  auto* copy = static_cast<char*>(pmalloc(p, length + 1));
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

char* pool_strdup(pool* p, const char* text) {
  return text ? pool_strndup(p, text, std::strlen(text)) : nullptr;
}

void pool_destroy(pool* p) {
  if (!p)
    return;
  pool_cleanup_rec* rec = p->cleanup_first;
  while (rec) {
    pool_cleanup_rec* next = rec->next;
    rec->free_fn(rec->arg);
    std::free(rec);
    rec = next;
  }
  std::free(p);
}

int safe_strcmp(const char* a, const char* b) {
  if (!a || !b)
    return -1;
  return std::strcmp(a, b);
}
