#include "xml/sha1.h"

#include <openssl/evp.h>

#include <cstring>

int sha1_hex(const void* data, size_t length, char out[SHA1_HEX_SIZE]) {
  out[0] = '\0';
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digest_length = 0;
  if (!EVP_Digest(data, length, digest, &digest_length, EVP_sha1(), nullptr) || digest_length != 20)
    return -1;
  static const char kHex[] = "0123456789abcdef";
  for (unsigned int i = 0; i < digest_length; ++i) {
    out[2 * i] = kHex[digest[i] >> 4];
    out[2 * i + 1] = kHex[digest[i] & 15];
  }
  out[40] = '\0';
  return 0;
}

int sha1_hex_text(const char* text, char out[SHA1_HEX_SIZE]) {
  if (!text)
    text = "";
  return sha1_hex(text, std::strlen(text), out);
}
