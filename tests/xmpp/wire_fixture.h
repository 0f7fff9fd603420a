// A session whose connection is one end of a socketpair: the test plays the server by
// feeding text to session_receive (as the main frame does with received chunks) and reads
// what the client wrote from the other end. The test thread is the UI thread.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <memory>
#include <string>

#include "support/temp_home.h"
#include "xmpp/headless_host.h"
#include "xmpp/session_loop.h"

class WireTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = std::make_unique<HeadlessHost>();
    session_ = host_->session();
    Attach("alice@example.org/orvik", "secret");
  }

  // A fresh connection for `address` on a new socketpair.
  void Attach(const char* address, const char* password) {
    if (peer_ >= 0)
      close(peer_);
    if (!session_->conn)
      session_->conn = jconn_new();
    int fds[2];
    ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds));
    ASSERT_EQ(0, jconn_reset(session_->conn, address, 5222, password, 0, fds[0]));
    session_install_callbacks(session_);
    peer_ = fds[1];
  }

  void TearDown() override {
    host_.reset();
    if (peer_ >= 0)
      close(peer_);
  }

  jconn* conn() { return session_->conn; }

  // The client opens its stream and the server answers with its header.
  void OpenStream(bool v1 = true, const char* id = "s1") {
    jab_open_stream(conn());
    Server(std::string("<stream:stream xmlns:stream='http://etherx.jabber.org/streams' "
                       "xmlns='jabber:client' from='example.org' id='") +
           id + "'" + (v1 ? " version='1.0'>" : ">"));
  }

  void Server(const std::string& text) { session_receive(session_, text.c_str()); }

  // Every byte the client has written so far.
  std::string Raw(int wait_ms = 50) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
      pollfd entry{peer_, POLLIN, 0};
      if (poll(&entry, 1, bytes.empty() ? wait_ms : 5) <= 0)
        break;
      ssize_t count = read(peer_, buffer, sizeof buffer);
      if (count <= 0)
        break;
      bytes.append(buffer, static_cast<size_t>(count));
    }
    return bytes;
  }
  std::string Sent(int wait_ms = 50) { return Raw(wait_ms); }

  // Inflates bytes the client wrote after compression began (one continuous zlib stream).
  std::string Inflate(const std::string& bytes) {
    if (!inflating_) {
      inflateInit(&server_inflate_);
      inflating_ = true;
    }
    std::string text;
    server_inflate_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    server_inflate_.avail_in = static_cast<uInt>(bytes.size());
    char out[65536];
    do {
      server_inflate_.next_out = reinterpret_cast<Bytef*>(out);
      server_inflate_.avail_out = sizeof out;
      inflate(&server_inflate_, Z_SYNC_FLUSH);
      text.append(out, sizeof out - server_inflate_.avail_out);
    } while (server_inflate_.avail_out == 0);
    return text;
  }

  // True when the client's side of the socket has been shut down.
  // (Whatever the client wrote before is read and dropped.)
  bool PeerSeesEnd() {
    char buffer[4096];
    for (;;) {
      pollfd entry{peer_, POLLIN, 0};
      if (poll(&entry, 1, 200) <= 0)
        return false;
      ssize_t count = read(peer_, buffer, sizeof buffer);
      if (count == 0)
        return true;
      if (count < 0)
        return false;
    }
  }

  size_t PendingWithTag(const char* tag) {
    size_t count = 0;
    for (const PendingIq& record : session_->pending)
      count += record.tag == tag ? 1 : 0;
    return count;
  }

  static int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
      ++count;
    return count;
  }

  ~WireTest() override {
    if (inflating_)
      inflateEnd(&server_inflate_);
  }

  TempHome home_;
  std::unique_ptr<HeadlessHost> host_;
  MJabberSession* session_ = nullptr;
  int peer_ = -1;
  z_stream server_inflate_{};
  bool inflating_ = false;
};
