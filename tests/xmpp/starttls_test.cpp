// STARTTLS on the open socket against a TLS server played by a thread of the test: nothing
// that arrived in clear may be read as part of the secured stream.
#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "platform/registry.h"
#include "wire_fixture.h"
#include "xmpp/tls_channel.h"

namespace {

const char kFeaturesTls[] =
    "<stream:features><starttls xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>"
    "<mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'><mechanism>PLAIN</mechanism>"
    "</mechanisms></stream:features>";

// A self-signed certificate for example.org, pinned in the registry so the client accepts it.
class StartTlsTest : public WireTest {
 protected:
  void SetUp() override {
    WireTest::SetUp();
    std::signal(SIGPIPE, SIG_IGN);  // the server thread may write to a client that has gone
    key_ = EVP_EC_gen("P-256");
    ASSERT_NE(nullptr, key_);
    certificate_ = X509_new();
    ASSERT_NE(nullptr, certificate_);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate_), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate_), -60);
    X509_gmtime_adj(X509_getm_notAfter(certificate_), 3600);
    X509_set_pubkey(certificate_, key_);
    X509_NAME* name = X509_get_subject_name(certificate_);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("example.org"), -1, -1, 0);
    X509_set_issuer_name(certificate_, name);
    ASSERT_GT(X509_sign(certificate_, key_, EVP_sha256()), 0);
    std::string pem = home_.path() + "/server.crt";
    std::FILE* file = std::fopen(pem.c_str(), "w");
    ASSERT_NE(nullptr, file);
    PEM_write_X509(file, certificate_);
    std::fclose(file);
    Pin(tls_file_fingerprint(pem.c_str()));
  }

  void TearDown() override {
    if (server_.joinable()) {
      jab_drop_socket(conn());
      server_.join();
    }
    X509_free(certificate_);
    EVP_PKEY_free(key_);
    WireTest::TearDown();
  }

  static void Pin(const std::string& fingerprint) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyEx(HKEY_LOCAL_MACHINE, u"Software\\orvik\\TLS", u"REG_SZ",
                                            &key, &disposition));
    std::u16string wide(fingerprint.begin(), fingerprint.end());
    RegSetValueEx(key, u"PINNED CERTIFICATE", REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                  static_cast<DWORD>((wide.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
  }

  // The server side: accepts TLS on the peer socket and reads until the client goes.
  void ServeTls() {
    int fd = peer_;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    server_ = std::thread([this, fd] {
      SSL_CTX* context = SSL_CTX_new(TLS_server_method());
      SSL_CTX_use_certificate(context, certificate_);
      SSL_CTX_use_PrivateKey(context, key_);
      SSL* ssl = SSL_new(context);
      SSL_set_fd(ssl, fd);
      if (SSL_accept(ssl) == 1) {
        handshake_done_ = true;
        char buffer[4096];
        while (SSL_read(ssl, buffer, sizeof buffer) > 0) {
        }
      }
      SSL_free(ssl);
      SSL_CTX_free(context);
    });
  }

  // A server that answers the TLS handshake with bytes that are not TLS, then records what the
  // client sends until it goes.
  void ServeGarbage() {
    int fd = peer_;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    server_ = std::thread([this, fd] {
      char buffer[4096];
      ssize_t count = read(fd, buffer, sizeof buffer);  // the client's hello
      static const char kGarbage[] = "<stream:features>not a TLS record</stream:features>";
      if (count > 0 && write(fd, kGarbage, sizeof kGarbage - 1) > 0) {
        while ((count = read(fd, buffer, sizeof buffer)) > 0)
          after_handshake_.append(buffer, static_cast<size_t>(count));
      }
    });
  }

  EVP_PKEY* key_ = nullptr;
  X509* certificate_ = nullptr;
  std::thread server_;
  std::atomic<bool> handshake_done_{false};
  std::string after_handshake_;  // written by the server thread until it ends
};

TEST_F(StartTlsTest, StanzasSentInClearBehindTheProceedEndTheConnectionBeforeTls) {
  OpenStream();
  Sent();
  Server(kFeaturesTls);
  EXPECT_EQ("<starttls xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>", Sent());
  ServeTls();
  bool dispatched_secured = false;
  host_->onDispatch = [&](packet*) { dispatched_secured |= conn()->tls.load() != nullptr; };
  // One chunk: the proceed and, behind it, a message slipped in by someone on the path.
  Server(
      "<proceed xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>"
      "<message from='mallory@example.org' type='chat'><body>injected</body></message>");
  EXPECT_FALSE(dispatched_secured);
  EXPECT_EQ(nullptr, conn()->tls.load());
  EXPECT_FALSE(handshake_done_.load());
  EXPECT_TRUE(host_->HasLogLine(
      "<p>Connection to the server ended: the server sent data in clear after agreeing to "
      "TLS.</p>"));
}

TEST_F(StartTlsTest, AProceedAloneUpgradesTheStream) {
  OpenStream();
  Sent();
  Server(kFeaturesTls);
  Sent();
  ServeTls();
  Server("<proceed xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>");
  for (int i = 0; i < 300 && !handshake_done_; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(handshake_done_.load());
  EXPECT_NE(nullptr, conn()->tls.load());
  EXPECT_EQ(0, host_->dispatched_count());
}

TEST_F(StartTlsTest, ARefusedCertificateIsReportedLikeOnTheDirectTlsPort) {
  Pin(std::string(64, 'a'));  // no certificate has this fingerprint
  session_->server = "example.org";
  host_->SetLoginRequested(true);
  OpenStream();
  Sent();
  Server(kFeaturesTls);
  Sent();
  ServeTls();
  Server("<proceed xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>");
  std::vector<std::string> lines = host_->LogLines();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ(0u, lines[0].find("<p>Secure connection refused: ")) << lines[0];
  EXPECT_EQ("<p>Cannot connect to Jabber server 'example.org'.</p>", lines[1]);
  EXPECT_EQ("<P>Check your settings by selecting \"Run Setup Wizard\" from the \"Menu\" menu.</P>",
            lines[2]);
  EXPECT_EQ(std::vector<std::string>{"Cannot connect to the Jabber server. Check your settings by "
                                     "selecting \"Run Setup Wizard\" from the \"Menu\" menu."},
            host_->MessageBoxes());
  EXPECT_EQ(LOGIN_ERROR_UNREACHABLE, session_->login_error);
  EXPECT_EQ(nullptr, conn()->tls.load());
}

TEST_F(StartTlsTest, AFailedHandshakeEndsTheLoginWithoutCredentials) {
  host_->Settings().encryptSessions = true;
  OpenStream();
  Sent();
  Server(kFeaturesTls);
  Sent();
  ServeGarbage();
  Server("<proceed xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>");
  // The server may go on in clear as if nothing had happened.
  Server(
      "<stream:features><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
      "<mechanism>PLAIN</mechanism></mechanisms></stream:features>");
  server_.join();
  EXPECT_EQ(std::string::npos, after_handshake_.find("<auth")) << after_handshake_;
  EXPECT_EQ(std::string::npos, after_handshake_.find("jabber:iq:auth")) << after_handshake_;
  EXPECT_EQ(nullptr, conn()->tls.load());
  bool ended = false;
  for (const std::string& line : host_->LogLines())
    ended |= line.rfind("<p>Connection to the server ended: ", 0) == 0;
  EXPECT_TRUE(ended);
  EXPECT_EQ(LOGIN_ERROR_NONE, session_->login_error);
}

}  // namespace
