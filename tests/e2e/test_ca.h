// Certificates for the TLS tests, made with the openssl command: one CA per test program, and
// server certificates for chosen names signed by it.
#pragma once

#include <string>
#include <vector>

#include "process_support.h"

namespace e2e {

class TestCa {
 public:
  // The CA of this test program (made on first use).
  static TestCa& Get() {
    static TestCa ca;
    return ca;
  }
  std::string ca_file() const { return dir_ / "ca.crt"; }

  // A key and certificate for `names` (the first is the subject) into `folder`/server.key and
  // `folder`/server.crt. False when openssl failed.
  bool MakeServerCertificate(const std::string& folder, const std::vector<std::string>& names) {
    std::string san = "subjectAltName=";
    for (size_t i = 0; i < names.size(); ++i)
      san += (i ? ",DNS:" : "DNS:") + names[i];
    WriteFile(folder + "/san.ext", san + "\n");
    std::string log = folder + "/openssl.log";
    return Run({"openssl", "req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                "-keyout", folder + "/server.key", "-out", folder + "/server.csr", "-subj",
                "/CN=" + names[0]},
               folder, log) &&
           Run({"openssl", "x509", "-req", "-in", folder + "/server.csr", "-CA", ca_file(),
                "-CAkey", dir_ / "ca.key", "-CAcreateserial", "-days", "2", "-extfile",
                folder + "/san.ext", "-out", folder + "/server.crt"},
               folder, log);
  }

 private:
  TestCa() {
    std::string log = dir_ / "openssl.log";
    Run({"openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
         "-nodes", "-keyout", dir_ / "ca.key", "-out", dir_ / "ca.crt", "-days", "2", "-subj",
         "/CN=orvik test CA"},
        dir_.path(), log);
  }
  TempDir dir_;
};

}  // namespace e2e
