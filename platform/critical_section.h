// Critical sections: recursive locks for the owner thread.
#pragma once

#include <mutex>

struct CRITICAL_SECTION {
  std::recursive_mutex lock;
};

inline void InitializeCriticalSection(CRITICAL_SECTION*) {}
inline void DeleteCriticalSection(CRITICAL_SECTION*) {}
inline void EnterCriticalSection(CRITICAL_SECTION* section) { section->lock.lock(); }
inline void LeaveCriticalSection(CRITICAL_SECTION* section) { section->lock.unlock(); }
inline bool TryEnterCriticalSection(CRITICAL_SECTION* section) { return section->lock.try_lock(); }
