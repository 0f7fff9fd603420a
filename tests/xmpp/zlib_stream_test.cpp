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

// A server that ends its compressed stream and sends more: nothing after the end could ever
// be read, so the data is refused (the connection then ends) rather than silently dropped.
TEST(ZlibStream, DataBehindTheEndOfTheCompressedStreamIsAnError) {
  z_stream server{};
  ASSERT_EQ(Z_OK, deflateInit(&server, 9));
  std::string text = "<message><body>last</body></message>";
  char packed[256];
  server.next_in = reinterpret_cast<Bytef*>(text.data());
  server.avail_in = static_cast<uInt>(text.size());
  server.next_out = reinterpret_cast<Bytef*>(packed);
  server.avail_out = sizeof packed;
  ASSERT_EQ(Z_STREAM_END, deflate(&server, Z_FINISH));
  std::string ended(packed, sizeof packed - server.avail_out);
  deflateEnd(&server);

  Pair alone;
  std::string back;
  ASSERT_EQ(ZLIB_OK, alone.Inflate(ended, &back));  // an end with nothing behind it is fine
  EXPECT_EQ(text, back);
  EXPECT_EQ(ZLIB_ERROR, alone.Inflate("<message/>", &back));  // the next chunk has no reader

  Pair joined;
  EXPECT_EQ(ZLIB_ERROR, joined.Inflate(ended + "<message/>", &back));
}

}  // namespace
