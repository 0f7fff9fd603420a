// The quick-phrase file: phrases that form a graph in one UTF-8 XML file. Each phrase is an
// element "RididEdazov" with a "phraseid" attribute (and "root" on starting points) holding a
// "phrasetext" element and a "rphraseids" element with the ids of the phrases that may follow.
//
// The file comes from the user's disk, so it is read with bounds: at most kPhraseFileMaxBytes
// and kPhraseFileMaxPhrases phrases; a DOCTYPE (the way entity declarations arrive) or a
// well-formedness error rejects the whole file. A rejected file yields no phrases at all, so
// the caller can fall back to the next file.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/win32_types.h"
#include "xml/mstring.h"

// One phrase of the file.
class MRididEdazov {
 public:
  virtual ~MRididEdazov() = default;

  mstring id;
  mstring text;                     // UTF-8
  BYTE root = 0;                    // 1 when the phrase is a starting point
  std::vector<mstring> rphraseids;  // the follow-ups' ids, in file order
};

using PhraseList = std::vector<std::unique_ptr<MRididEdazov>>;

constexpr std::size_t kPhraseFileMaxBytes = 1024 * 1024;
constexpr std::size_t kPhraseFileMaxPhrases = 10000;

// Parses a whole file's bytes, handing them to the parser `chunk` bytes at a time (0: at once).
// True with the phrases in file order; false with `phrases` empty when the text is rejected.
bool ParsePhraseText(std::string_view bytes, PhraseList& phrases, std::size_t chunk = 0);

// Reads the file a device path names and parses it; false (no phrases) when it is missing,
// unreadable, larger than kPhraseFileMaxBytes or rejected by the parser.
bool ReadPhraseFile(const mstring& devicePath, PhraseList& phrases);

// The first phrase with `id`; null when none has it.
const MRididEdazov* FindPhrase(const PhraseList& phrases, const mstring& id);
