#include "xml/pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "xml/strchain.h"
#include "xml/xml_escape.h"

namespace {

int cleanup_count(pool* p) {
  int n = 0;
  for (pool_cleanup_rec* r = p->cleanup_first; r; r = r->next)
    ++n;
  return n;
}

TEST(Pool, AlignsOnlyRequestsOfFourBytesOrMore) {
  pool* p = pool_create_with_heap(1024);
  ASSERT_NE(p->heap, nullptr);
  pmalloc(p, 1);
  EXPECT_EQ(p->heap->used, 1);
  char* three = static_cast<char*>(pmalloc(p, 3));  // not aligned
  EXPECT_EQ(three, p->heap->block + 1);
  EXPECT_EQ(p->heap->used, 4);
  char* four = static_cast<char*>(pmalloc(p, 4));  // used rounded up to 8 first
  EXPECT_EQ(four, p->heap->block + 8);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(four) % 8, 0u);
  EXPECT_EQ(p->heap->used, 12);
  pool_destroy(p);
}

TEST(Pool, ExactlyHalfTheBlockComesFromTheBlock) {
  pool* p = pool_create_with_heap(1024);
  EXPECT_EQ(p->size, 1024);
  EXPECT_EQ(cleanup_count(p), 1);
  pool_heap* block = p->heap;
  char* half = static_cast<char*>(pmalloc(p, 512));
  EXPECT_EQ(half, block->block);
  EXPECT_EQ(p->size, 1024);
  EXPECT_EQ(cleanup_count(p), 1);

  // One byte more goes to the general heap with a cleanup record of its own.
  char* big = static_cast<char*>(pmalloc(p, 513));
  EXPECT_TRUE(big < block->block || big >= block->block + block->size);
  EXPECT_EQ(p->size, 1024 + 513);
  EXPECT_EQ(cleanup_count(p), 2);
  EXPECT_EQ(p->cleanup_last->heap, nullptr);
  EXPECT_EQ(p->heap, block);
  pool_destroy(p);
}

TEST(Pool, FullBlockIsReplacedByANewOneOfTheSameSize) {
  pool* p = pool_create_with_heap(64);
  pool_heap* first = p->heap;
  pmalloc(p, 32);
  pmalloc(p, 32);
  EXPECT_EQ(p->heap, first);
  pmalloc(p, 8);  // does not fit any more
  EXPECT_NE(p->heap, first);
  EXPECT_EQ(p->heap->size, 64);
  EXPECT_EQ(p->heap->used, 8);
  EXPECT_EQ(p->size, 128);
  EXPECT_EQ(cleanup_count(p), 2);
  EXPECT_EQ(p->cleanup_last->heap, p->heap);
  pool_destroy(p);
}

TEST(Pool, WithoutHeapEveryRequestIsCountedAndCleanedUp) {
  pool* p = pool_create();
  EXPECT_EQ(p->heap, nullptr);
  pmalloc(p, 10);
  pmalloc(p, 0);
  EXPECT_EQ(p->size, 10);
  EXPECT_EQ(cleanup_count(p), 2);
  pool_destroy(p);
  pool_destroy(nullptr);
}

TEST(Pool, FillAndCopies) {
  pool* p = pool_create_with_heap(256);
  auto* filled = static_cast<unsigned char*>(pmalloc_fill(p, 16, 0xab));
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(filled[i], 0xab);
  EXPECT_EQ(pool_strdup(p, nullptr), nullptr);
  EXPECT_STREQ(pool_strdup(p, "abc"), "abc");
  EXPECT_STREQ(pool_strdup(p, ""), "");
  pool_destroy(p);
}

TEST(PoolDeathTest, NullPoolEndsTheProcess) {
  EXPECT_DEATH(
      pmalloc(nullptr, 4),
      "Memory Leak! \\[pmalloc received NULL pool, unable to track allocation, exiting\\]");
}

TEST(SafeStrcmp, NullNeverEqualsAnything) {
  EXPECT_EQ(safe_strcmp(nullptr, nullptr), -1);
  EXPECT_EQ(safe_strcmp("a", nullptr), -1);
  EXPECT_EQ(safe_strcmp(nullptr, "a"), -1);
  EXPECT_EQ(safe_strcmp("a", "a"), 0);
  EXPECT_LT(safe_strcmp("a", "b"), 0);
}

TEST(Strchain, JoinsSegmentsAndTreatsEmptyAsNull) {
  pool* p = pool_create_with_heap(1024);
  strchain* chain = strchain_new(p);
  EXPECT_EQ(strchain_join(chain), nullptr);  // empty chain is null, not ""
  strchain_add(chain, "");
  strchain_add(chain, nullptr);
  EXPECT_EQ(strchain_join(chain), nullptr);
  EXPECT_EQ(strchain_join(nullptr), nullptr);

  // The chain itself ends the list, so a null text in the middle is just skipped.
  strchain_addv(chain, "<", nullptr, "a", "", "/>", chain);
  EXPECT_EQ(chain->length, 4);
  EXPECT_STREQ(strchain_join(chain), "<a/>");
  pool_destroy(p);
}

TEST(Escape, EscapesTheFiveSpecialCharacters) {
  pool* p = pool_create_with_heap(1024);
  EXPECT_EQ(xml_escape(p, nullptr), nullptr);
  EXPECT_STREQ(xml_escape(p, "plain text"), "plain text");
  EXPECT_STREQ(xml_escape(p, "a&b'c\"d<e>f"), "a&amp;b&apos;c&quot;d&lt;e&gt;f");
  EXPECT_STREQ(xml_escape(p, "\xc3\xa9&"), "\xc3\xa9&amp;");
  pool_destroy(p);
}

TEST(Escape, UnescapeReplacesKnownEntitiesAndLeavesOthers) {
  pool* p = pool_create_with_heap(1024);
  EXPECT_EQ(xml_unescape(p, nullptr), nullptr);
  EXPECT_STREQ(xml_unescape(p, "&amp;&quot;&apos;&lt;&gt;"), "&\"'<>");
  EXPECT_STREQ(xml_unescape(p, "&amp;amp;"), "&amp;");
  EXPECT_STREQ(xml_unescape(p, "a &nbsp; b & c &#65; &AMP; &amp"),
               "a &nbsp; b & c &#65; &AMP; &amp");
  EXPECT_STREQ(xml_unescape(p, "tail&"), "tail&");
  pool_destroy(p);
}

TEST(Escape, WithoutPoolTheCallerOwnsTheResult) {
  char* escaped = xml_escape(nullptr, "<x>");
  EXPECT_STREQ(escaped, "&lt;x&gt;");
  free(escaped);
  char* plain = xml_unescape(nullptr, "no entities");
  EXPECT_STREQ(plain, "no entities");
  free(plain);
}

}  // namespace
