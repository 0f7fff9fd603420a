#include <gtest/gtest.h>

#include <string>

#include "location/location_pages.h"

namespace {

struct FillCase {
  const char* pattern;
  std::vector<mstring> values;
  const char* url;
};

class UrlTemplateTest : public testing::TestWithParam<FillCase> {};

TEST_P(UrlTemplateTest, FillsPlaceholdersOnly) {
  const FillCase& c = GetParam();
  EXPECT_STREQ(FillUrlTemplate(c.pattern, c.values).c_str(), c.url);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UrlTemplateTest,
    testing::Values(
        FillCase{"http://l/default.aspx?jid=%s",
                 {"bob@example.org"},
                 "http://l/default.aspx?jid=bob%40example.org"},
        FillCase{"http://m/map.adp?latitude=%s&longitude=%s",
                 {"48.1173", "-11.5"},
                 "http://m/map.adp?latitude=48.1173&longitude=-11.5"},
        // Only "%s" is a placeholder: "%2C" and "%d" stay, and a lone "%" at the end too.
        FillCase{"http://m/?ll=%s%2C%s&z=%d%", {"1", "2"}, "http://m/?ll=1%2C2&z=%d%"},
        // A value cannot add parameters, fragments or a second placeholder.
        FillCase{"http://l/?jid=%s", {"a&b=c #%s/é"}, "http://l/?jid=a%26b%3Dc%20%23%25s%2F%C3%A9"},
        // A placeholder without a value is left empty; extra values are dropped.
        FillCase{"http://m/?a=%s&b=%s", {"1"}, "http://m/?a=1&b="},
        FillCase{"http://m/", {"1"}, "http://m/"}));

}  // namespace
