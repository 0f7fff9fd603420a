#include "xmpp/tls_config.h"

#include <cctype>

#include "platform/device_path.h"
#include "xmpp/registry_read.h"

std::string tls_normalise_fingerprint(const std::string& typed) {
  std::string hex;
  for (char c : typed) {
    if (c == ':' || c == ' ' || c == '\t')
      continue;
    if (!std::isxdigit(static_cast<unsigned char>(c)))
      return "";
    hex += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return hex.size() == 64 ? hex : "";
}

tls_config tls_config_load() {
  tls_config config;
  std::string text;
  if (registry_read_text(kTlsKey, "CA FILE", &text) && !text.empty())
    config.ca_file = DevicePathToHost(text);
  if (registry_read_text(kTlsKey, "PINNED CERTIFICATE", &text))
    config.pinned_sha256 = tls_normalise_fingerprint(text);
  return config;
}
