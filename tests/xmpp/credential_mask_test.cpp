#include "xmpp/credential_mask.h"

#include <gtest/gtest.h>

namespace {

TEST(CredentialMask, HidesSaslPayloadPasswordAndDigest) {
  EXPECT_EQ("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PLAIN'>***</auth>",
            mask_credentials("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' "
                             "mechanism='PLAIN'>AGFsaWNlAHNlY3JldA==</auth>"));
  EXPECT_EQ("<query><username>alice</username><password>***</password></query>",
            mask_credentials("<query><username>alice</username><password>s3cr&amp;t</password>"
                             "</query>"));
  EXPECT_EQ("<query><digest>***</digest><password>***</password></query>",
            mask_credentials("<query><digest>0123abcd</digest><password>x</password></query>"));
}

TEST(CredentialMask, LeavesOtherTextAlone) {
  const char* texts[] = {
      "<message><body>my password is in the body</body></message>",
      "<query xmlns='jabber:iq:auth'><username/><password/><digest/></query>",
      "<passwords>not a credential element</passwords>",
      "",
  };
  for (const char* text : texts)
    EXPECT_EQ(text, mask_credentials(text));
  EXPECT_EQ("", mask_credentials(nullptr));
}

TEST(CredentialMask, AnUnterminatedElementIsMaskedToTheEnd) {
  EXPECT_EQ("<iq><password>***", mask_credentials("<iq><password>half a chunk"));
}

}  // namespace
