// A chain of string segments taken from a pool, joined into one string at the end.
#pragma once

#include "xml/pool.h"

struct strchain_seg {
  char* text;  // pool copy
  strchain_seg* next;
};

struct strchain {
  ::pool* pool;
  int length;  // sum of the segment lengths
  strchain_seg* last;
  strchain_seg* first;
};

// An empty chain in `p`.
strchain* strchain_new(pool* p);
// Appends a pool copy of `text`; null or empty text does nothing.
void strchain_add(strchain* chain, const char* text);
// Appends each following argument in turn. The list ends at the first argument equal to the
// chain pointer itself (the chain is passed again as terminator, not null, so a null text in
// the list is simply skipped):  strchain_addv(c, "<", name, ">", c);
void strchain_addv(strchain* chain, ...);
// All segments in order as one pool string; null when the chain is null or empty.
char* strchain_join(strchain* chain);
