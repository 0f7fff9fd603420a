#include "ui/phrase_file.h"

#include <expat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/device_path.h"

namespace {

enum ParseState { kNone = 0, kPhraseText = 1, kFollowUps = 2 };

// The Expat handlers' state while one file is read.
class MPhraseFileParser {
 public:
  explicit MPhraseFileParser(PhraseList& phrases) : phrases_(phrases) {}

  bool Parse(std::string_view bytes, std::size_t chunk);

 private:
  static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** attributes);
  static void XMLCALL OnEnd(void* self, const XML_Char* name);
  static void XMLCALL OnText(void* self, const XML_Char* text, int length);
  static void XMLCALL OnDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int);

  void Start(const char* name, const char** attributes);
  void End(const char* name);
  // Leaves the current state, storing what its text callbacks collected: text that Expat
  // splits across callbacks (around entities, at chunk ends) is kept whole.
  void Finish();
  void Fail();

  PhraseList& phrases_;
  XML_Parser parser_ = nullptr;
  MRididEdazov* filling_ = nullptr;  // the phrase whose element is open
  ParseState state_ = kNone;
  std::string collected_;
  bool failed_ = false;
};

void MPhraseFileParser::Start(const char* name, const char** attributes) {
  Finish();
  if (std::strcmp(name, "RididEdazov") == 0) {
    if (phrases_.size() >= kPhraseFileMaxPhrases) {
      Fail();
      return;
    }
    auto phrase = std::make_unique<MRididEdazov>();
    for (const char** at = attributes; at[0] != nullptr; at += 2) {
      if (std::strcmp(at[0], "phraseid") == 0) {
        phrase->id = at[1];
      } else if (std::strcmp(at[0], "root") == 0) {
        phrase->root = 1;  // its presence alone marks a starting point
      }
    }
    filling_ = phrase.get();
    phrases_.push_back(std::move(phrase));
  } else if (std::strcmp(name, "phrasetext") == 0) {
    state_ = kPhraseText;
  } else if (std::strcmp(name, "rphraseids") == 0) {
    state_ = kFollowUps;
  }
}

void MPhraseFileParser::End(const char* name) {
  Finish();
  if (std::strcmp(name, "RididEdazov") == 0) {
    filling_ = nullptr;  // text after the phrase's end belongs to no phrase
  }
}

void MPhraseFileParser::Finish() {
  if (filling_ != nullptr && state_ == kPhraseText) {
    filling_->text = mstring(collected_.c_str(), static_cast<std::uint32_t>(collected_.size()));
  } else if (filling_ != nullptr && state_ == kFollowUps) {
    std::size_t at = 0;
    while (at < collected_.size()) {
      std::size_t end = collected_.find_first_of(" \t\r\n", at);
      if (end == std::string::npos) {
        end = collected_.size();
      }
      if (end > at) {
        filling_->rphraseids.emplace_back(collected_.c_str() + at,
                                          static_cast<std::uint32_t>(end - at));
      }
      at = end + 1;
    }
  }
  state_ = kNone;
  collected_.clear();
}

void MPhraseFileParser::Fail() {
  failed_ = true;
  XML_StopParser(parser_, XML_FALSE);
}

void XMLCALL MPhraseFileParser::OnStart(void* self, const XML_Char* name,
                                        const XML_Char** attributes) {
  static_cast<MPhraseFileParser*>(self)->Start(name, attributes);
}

void XMLCALL MPhraseFileParser::OnEnd(void* self, const XML_Char* name) {
  static_cast<MPhraseFileParser*>(self)->End(name);
}

void XMLCALL MPhraseFileParser::OnText(void* self, const XML_Char* text, int length) {
  auto* parser = static_cast<MPhraseFileParser*>(self);
  if (parser->state_ != kNone && parser->filling_ != nullptr && length > 0) {
    parser->collected_.append(text, static_cast<std::size_t>(length));
  }
}

void XMLCALL MPhraseFileParser::OnDoctype(void* self, const XML_Char*, const XML_Char*,
                                          const XML_Char*, int) {
  static_cast<MPhraseFileParser*>(self)->Fail();
}

bool MPhraseFileParser::Parse(std::string_view bytes, std::size_t chunk) {
  if (bytes.size() > kPhraseFileMaxBytes) {
    return false;
  }
  parser_ = XML_ParserCreate(nullptr);
  if (parser_ == nullptr) {
    return false;
  }
  XML_SetUserData(parser_, this);
  XML_SetElementHandler(parser_, OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser_, OnText);
  XML_SetStartDoctypeDeclHandler(parser_, OnDoctype);
  if (chunk == 0) {
    chunk = bytes.size();
  }
  bool ok = true;
  std::size_t at = 0;
  do {
    std::size_t size = std::min(chunk, bytes.size() - at);
    bool last = at + size == bytes.size();
    ok = XML_Parse(parser_, bytes.data() + at, static_cast<int>(size), last) == XML_STATUS_OK;
    at += size;
  } while (ok && !failed_ && at < bytes.size());
  XML_ParserFree(parser_);
  parser_ = nullptr;
  return ok && !failed_;
}

}  // namespace

bool ParsePhraseText(std::string_view bytes, PhraseList& phrases, std::size_t chunk) {
  phrases.clear();
  MPhraseFileParser parser(phrases);
  if (!parser.Parse(bytes, chunk)) {
    phrases.clear();
    return false;
  }
  return true;
}

bool ReadPhraseFile(const mstring& devicePath, PhraseList& phrases) {
  phrases.clear();
  std::FILE* file = DeviceFopen(devicePath.c_str(), "rb");
  if (file == nullptr) {
    return false;
  }
  // One byte more than allowed tells an oversized file from one of exactly the limit.
  std::string bytes(kPhraseFileMaxBytes + 1, '\0');
  std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
  bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError || size > kPhraseFileMaxBytes) {
    return false;
  }
  bytes.resize(size);
  return ParsePhraseText(bytes, phrases);
}

const MRididEdazov* FindPhrase(const PhraseList& phrases, const mstring& id) {
  for (const auto& phrase : phrases) {
    if (phrase->id == id) {
      return phrase.get();
    }
  }
  return nullptr;
}
