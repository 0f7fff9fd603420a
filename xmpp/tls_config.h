// Where TLS trust comes from besides the system's CA store. Private servers often use their
// own CA or a self-signed certificate; two registry values (HKEY_LOCAL_MACHINE, key
// "Software\orvik\TLS", both REG_SZ) make them usable without switching verification off:
//   "CA FILE"            a PEM file of extra trusted CA certificates (a Linux path, or a
//                        device path such as "\My Documents\ca.pem");
//   "PINNED CERTIFICATE" the SHA-256 fingerprint of the server's own certificate, 64
//                        hexadecimal digits (colons and blanks are ignored). When set, a
//                        certificate with this fingerprint is accepted and every other one
//                        refused, whatever its chain says.
#pragma once

#include <string>

constexpr const char16_t* kTlsKey = u"Software\\orvik\\TLS";

struct tls_config {
  std::string ca_file;        // host path, "" for none
  std::string pinned_sha256;  // lower-case hexadecimal without separators, "" for none
};

// The values as they are in the registry now.
tls_config tls_config_load();
// A fingerprint as typed (any case, colons, blanks) in the stored form; "" when it is not 64
// hexadecimal digits.
std::string tls_normalise_fingerprint(const std::string& typed);
