#include "xmpp/credential_mask.h"

#include <cstring>

namespace {

// Masks the content of every element `name` (its start tag may carry attributes; a prefix
// such as "sasl:" is not expected from this client and not looked for).
void mask_element(std::string& text, const char* name) {
  std::string open = std::string("<") + name;
  std::string close = std::string("</") + name + ">";
  size_t from = 0;
  for (;;) {
    size_t start = text.find(open, from);
    if (start == std::string::npos)
      return;
    size_t after_name = start + open.size();
    if (after_name >= text.size())
      return;
    char next = text[after_name];
    if (next != '>' && next != ' ' && next != '\t' && next != '\n' && next != '\r' && next != '/') {
      from = after_name;  // a longer name such as <passwords>
      continue;
    }
    size_t tag_end = text.find('>', after_name);
    if (tag_end == std::string::npos)
      return;
    if (text[tag_end - 1] == '/') {
      from = tag_end + 1;  // empty element: nothing to hide
      continue;
    }
    size_t end = text.find(close, tag_end + 1);
    size_t content_end = end == std::string::npos ? text.size() : end;
    text.replace(tag_end + 1, content_end - tag_end - 1, "***");
    from = tag_end + 1 + 3;
  }
}

}  // namespace

std::string mask_credentials(const char* text) {
  std::string masked = text ? text : "";
  if (masked.find("<auth") == std::string::npos && masked.find("<password") == std::string::npos &&
      masked.find("<digest") == std::string::npos)
    return masked;
  mask_element(masked, "auth");
  mask_element(masked, "password");
  mask_element(masked, "digest");
  return masked;
}
