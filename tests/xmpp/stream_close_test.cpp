// The orderly end of the stream on a socketpair: what the client sends, how it takes the
// server's answer (or the lack of one), and that the socket is closed in every case. The
// server's bytes are written before the close starts, so no case depends on timing.
#include "xmpp/stream_close.h"

#include <string>

#include "wire_fixture.h"

namespace {

constexpr char kServerTag[] = "</stream:stream>";
// Fills the client's first read up to five bytes short of its buffer, so the tag after it is
// cut in two between reads.
const std::string kStraddle(4096 - 5, ' ');

// The server's side of a compressed stream.
std::string Deflate(const std::string& text) {
  z_stream stream{};
  deflateInit(&stream, 9);
  std::string out(text.size() + 256, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_SYNC_FLUSH);
  out.resize(out.size() - stream.avail_out);
  deflateEnd(&stream);
  return out;
}

class StreamCloseTest : public WireTest {
 protected:
  void ServerWrites(const std::string& bytes) {
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()), write(peer_, bytes.data(), bytes.size()));
  }
};

struct CloseCase {
  const char* name;
  std::string reply;  // what the server has sent when the close starts
  bool compressed;
  bool peer_hangs_up;  // the server's side is shut after its reply
  int outcome;
};

TEST_F(StreamCloseTest, TheClientSaysGoodbyeAndTakesEveryKindOfAnswer) {
  const CloseCase cases[] = {
      {"the tag alone", kServerTag, false, false, STREAM_CLOSE_ANSWERED},
      {"a stanza, then the tag", "<message><body>late</body></message></stream:stream >", false,
       false, STREAM_CLOSE_ANSWERED},
      {"the tag cut between two reads", kStraddle + kServerTag, false, false,
       STREAM_CLOSE_ANSWERED},
      {"the tag compressed", "<presence/></stream:stream>", true, false, STREAM_CLOSE_ANSWERED},
      {"a hang-up without the tag", "<presence/>", false, true, STREAM_CLOSE_ENDED},
      {"no answer at all", "", false, false, STREAM_CLOSE_NO_ANSWER},
      {"a stanza and then silence", "<presence/>", false, false, STREAM_CLOSE_NO_ANSWER},
  };
  for (const CloseCase& test : cases) {
    SCOPED_TRACE(test.name);
    Attach("alice@example.org/orvik", "secret");
    OpenStream();
    Sent();  // the stream header
    conn()->compressed = test.compressed ? 1 : 0;
    ServerWrites(test.compressed ? Deflate(test.reply) : test.reply);
    if (test.peer_hangs_up)
      shutdown(peer_, SHUT_WR);

    EXPECT_EQ(test.outcome, jab_close_stream(conn(), 300));

    std::string sent = Raw();
    EXPECT_EQ(kServerTag, test.compressed ? Inflate(sent) : sent);
    EXPECT_EQ(-1, conn()->fd.load());
    EXPECT_EQ(JCONN_STATE_OFF, conn()->state.load());
    EXPECT_TRUE(PeerSeesEnd());
    jab_close(conn());  // ends the zlib streams for the next case
    if (inflating_)
      inflateEnd(&server_inflate_);
    inflating_ = false;
  }
}

// A second close (the receive loop's, the exit's) finds the stream closed and sends nothing.
TEST_F(StreamCloseTest, ASecondCloseSendsNothingMore) {
  OpenStream();
  Sent();
  ServerWrites(kServerTag);
  ASSERT_EQ(STREAM_CLOSE_ANSWERED, jab_close_stream(conn(), 300));
  EXPECT_EQ(kServerTag, Raw());
  EXPECT_EQ(STREAM_CLOSE_NOT_OPEN, jab_close_stream(conn(), 300));
  jab_close(conn());
  EXPECT_TRUE(PeerSeesEnd());  // the end, and no second tag before it
}

// The server closes first: the client's tag answers it at once, before the socket ends, and the
// close that follows sends nothing more and waits for nothing.
TEST_F(StreamCloseTest, TheServersCloseIsAnsweredAtOnce) {
  OpenStream();
  Sent();
  Server(kServerTag);
  EXPECT_EQ(kServerTag, Raw());
  EXPECT_EQ(STREAM_CLOSE_ANSWERED, jab_close_stream(conn(), 3000));
  EXPECT_TRUE(PeerSeesEnd());  // no second tag before the end
}

}  // namespace
