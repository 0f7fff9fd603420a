// The quick-phrase file parser: what a file yields at every way its bytes can be split, and
// which files are rejected whole.
#include "ui/phrase_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/temp_home.h"

namespace {

// "id|text|root|followup,followup" per phrase, joined with "; ".
std::string Summary(const PhraseList& phrases) {
  std::string out;
  for (const auto& phrase : phrases) {
    out += out.empty() ? "" : "; ";
    out += std::string(phrase->id.c_str()) + "|" + phrase->text.c_str() + "|" +
           std::to_string(phrase->root) + "|";
    for (std::size_t i = 0; i < phrase->rphraseids.size(); ++i) {
      out += (i == 0 ? "" : ",") + std::string(phrase->rphraseids[i].c_str());
    }
  }
  return out;
}

struct Case {
  const char* name;
  const char* xml;
  bool accepted;
  const char* expected;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

const Case kCases[] = {
    {"FollowUps",
     "<p><RididEdazov phraseid='hi' root=''><phrasetext>Hello</phrasetext>"
     "<rphraseids>there all</rphraseids></RididEdazov>"
     "<RididEdazov phraseid='there'><phrasetext>there</phrasetext></RididEdazov></p>",
     true, "hi|Hello|1|there,all; there|there|0|"},
    {"EntitiesAndUtf8",
     "<p><RididEdazov phraseid='a&amp;b'><phrasetext>Tom &amp; Jerry &lt;3 &#x20AC; "
     "caf\xC3\xA9</phrasetext><rphraseids>x&amp;y z</rphraseids></RididEdazov></p>",
     true, "a&b|Tom & Jerry <3 \xE2\x82\xAC caf\xC3\xA9|0|x&y,z"},
    {"TextOutsideAPhraseIsIgnored",
     "<p><phrasetext>lost</phrasetext><RididEdazov phraseid='a'/>"
     "<phrasetext>after</phrasetext><rphraseids>b</rphraseids></p>",
     true, "a||0|"},
    {"AnotherElementEndsTheText",
     "<p><RididEdazov phraseid='a'><phrasetext>Hi <b>bold</b> there</phrasetext>"
     "<note>x</note></RididEdazov></p>",
     true, "a|Hi |0|"},
    {"IdsSplitAtAnyBlank",
     "<p><RididEdazov phraseid='a'><rphraseids>  b  c\n\td </rphraseids></RididEdazov></p>", true,
     "a||0|b,c,d"},
    {"NoPhrases", "<?xml version='1.0'?><phrases/>", true, ""},
    {"Broken", "<p><RididEdazov phraseid='a'><phrasetext>x</phrasetext></p>", false, ""},
    {"Truncated", "<p><RididEdazov phraseid='a'><phrasetext>x</phrasetext>", false, ""},
    {"Doctype",
     "<!DOCTYPE p [<!ENTITY e 'boom'>]><p><RididEdazov phraseid='a'>"
     "<phrasetext>&e;</phrasetext></RididEdazov></p>",
     false, ""},
    {"Empty", "", false, ""},
};

class PhraseFileTest : public ::testing::TestWithParam<Case> {};

TEST_P(PhraseFileTest, SameResultAtEveryChunkSize) {
  const Case& c = GetParam();
  for (std::size_t chunk = 0; chunk <= 7; ++chunk) {
    PhraseList phrases;
    EXPECT_EQ(ParsePhraseText(c.xml, phrases, chunk), c.accepted) << "chunk " << chunk;
    EXPECT_EQ(Summary(phrases), c.expected) << "chunk " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, PhraseFileTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Files on disk: an oversized or over-full file and a missing one give nothing; one within the
// bounds is read whole.
TEST(PhraseFileReadTest, BoundsAndMissingFiles) {
  TempHome home;
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(home.path() + "/" + name) << text;
    return mstring((home.path() + "/" + name).c_str());
  };
  std::string phrase = "<RididEdazov phraseid='a'><phrasetext>x</phrasetext></RididEdazov>";
  std::string padded = "<p>" + phrase + std::string(kPhraseFileMaxBytes - phrase.size() - 7, ' ');
  std::string many;
  for (std::size_t i = 0; i <= kPhraseFileMaxPhrases; ++i) {
    many += "<RididEdazov/>";
  }
  PhraseList phrases;
  EXPECT_TRUE(ReadPhraseFile(write("limit.xml", padded + "</p>"), phrases));
  EXPECT_EQ(Summary(phrases), "a|x|0|");
  EXPECT_FALSE(ReadPhraseFile(write("over.xml", padded + " </p>"), phrases));
  EXPECT_TRUE(phrases.empty());
  EXPECT_TRUE(ReadPhraseFile(write("full.xml", "<p>" + many.substr(14) + "</p>"), phrases));
  EXPECT_EQ(phrases.size(), kPhraseFileMaxPhrases);
  EXPECT_FALSE(ReadPhraseFile(write("many.xml", "<p>" + many + "</p>"), phrases));
  EXPECT_TRUE(phrases.empty());
  EXPECT_FALSE(ReadPhraseFile((home.path() + "/absent.xml").c_str(), phrases));
}

}  // namespace
