#include "xmpp/zlib_stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct Pair {
  z_stream deflater{};
  int deflating = 0;
  z_stream inflater{};
  int inflating = 0;
  ~Pair() {
    zlib_end_deflate(&deflater, &deflating);
    zlib_end_inflate(&inflater, &inflating);
  }
  std::string Deflate(const std::string& text) {
    char* out = nullptr;
    size_t length = 0;
    EXPECT_EQ(ZLIB_OK,
              zlib_deflate_text(&deflater, &deflating, text.data(), text.size(), &out, &length));
    std::string bytes(out, length);
    std::free(out);
    return bytes;
  }
  int Inflate(const std::string& bytes, std::string* text, size_t limit = ZLIB_MAX_INFLATED) {
    char* out = nullptr;
    size_t length = 0;
    int result =
        zlib_inflate_chunk(&inflater, &inflating, bytes.data(), bytes.size(), limit, &out, &length);
    if (out) {
      EXPECT_EQ('\0', out[length]);
      text->assign(out, length);
    }
    std::free(out);
    return result;
  }
};

TEST(ZlibStream, EachTextIsCompleteOnItsOwnAndTheStreamCarriesOn) {
  Pair pair;
  const char* texts[] = {"", "x", "<message><body>hello</body></message>", " \t"};
  for (const char* text : texts) {
    std::string back;
    ASSERT_EQ(ZLIB_OK, pair.Inflate(pair.Deflate(text), &back));
    EXPECT_EQ(text, back);
  }
}

TEST(ZlibStream, IncompressibleAndHighlyCompressibleTextsGrowTheirBuffers) {
  Pair pair;
  std::string noise;
  unsigned seed = 7;
  for (int i = 0; i < 100000; ++i) {
    seed = seed * 1103515245u + 12345u;
    noise += static_cast<char>('!' + (seed >> 16) % 90);
  }
  std::string back;
  ASSERT_EQ(ZLIB_OK, pair.Inflate(pair.Deflate(noise), &back));
  EXPECT_EQ(noise, back);
  std::string zeros(1000000, 'a');
  std::string packed = pair.Deflate(zeros);
  EXPECT_LT(packed.size(), 4047u);  // beyond the 40-times first guess of the inflater
  ASSERT_EQ(ZLIB_OK, pair.Inflate(packed, &back));
  EXPECT_EQ(zeros, back);
}

TEST(ZlibStream, OutputBeyondTheLimitIsRefused) {
  Pair pair;
  std::string packed = pair.Deflate(std::string(200000, 'a'));
  std::string back;
  EXPECT_EQ(ZLIB_TOO_LARGE, pair.Inflate(packed, &back, 100000));
}

TEST(ZlibStream, CorruptDataIsAnError) {
  Pair pair;
  std::string back;
  EXPECT_EQ(ZLIB_ERROR, pair.Inflate(std::string("\xff\xff\xff\xff garbage", 13), &back));
}

}  // namespace
