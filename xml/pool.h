// Arena allocator with a cleanup list. Every stanza tree lives in one pool and is freed whole;
// nothing inside a pool is ever freed on its own.
#pragma once

#include <cstddef>
#include <cstdint>

// One block of the pool's bump allocator.
struct pool_heap {
  char* block;  // the memory
  int size;     // capacity in bytes
  int used;     // bytes handed out
};

// Run when the pool is destroyed, first-in first-out.
struct pool_cleanup_rec {
  void (*free_fn)(void*);
  void* arg;
  pool_heap* heap;  // the heap block this record releases, or null
  pool_cleanup_rec* next;
};

struct pool {
  int32_t size;  // bytes taken from the general heap on the pool's behalf
  pool_cleanup_rec* cleanup_first;
  pool_cleanup_rec* cleanup_last;
  pool_heap* heap;  // the current heap block, or null
};

// A new empty pool: every request goes straight to the general heap.
pool* pool_create();
// A new pool whose requests up to half of `size` bytes are served from heap blocks of `size`.
pool* pool_create_with_heap(int size);
// `size` bytes owned by the pool. A null pool is a programming error and ends the process.
void* pmalloc(pool* p, size_t size);
// pmalloc, then every byte set to `byte`.
void* pmalloc_fill(pool* p, size_t size, int byte);
// A pool copy of `text` with its NUL; null for null text.
char* pool_strdup(pool* p, const char* text);
// A pool copy of `length` bytes of `text` followed by a NUL.
char* pool_strndup(pool* p, const char* text, size_t length);
// Runs every cleanup record, oldest first, then releases the pool. Null is ignored.
void pool_destroy(pool* p);

// strcmp when both are non-null, otherwise -1: null never equals anything, not even null.
int safe_strcmp(const char* a, const char* b);
