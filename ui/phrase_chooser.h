// MRididEdazovChooser: one run of the quick-phrase chooser. The user composes a message by
// choosing phrases from a list: first the starting points, then after each choice the phrases
// that may follow it; punctuation buttons add their marks. OK hands the composed text back.
#pragma once

#include "platform/window.h"
#include "ui/phrase_file.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

// The dialog "RididEdazov" and its controls.
constexpr int kQuickPhraseDialog = 249;
constexpr int IDC_PHRASE_EDIT = 1048;
constexpr int IDC_PHRASE_LIST = 1049;
constexpr int IDC_PHRASE_PERIOD = 1050;    // "." adds phrase "1"
constexpr int IDC_PHRASE_EXCLAIM = 1051;   // "!" adds phrase "3"
constexpr int IDC_PHRASE_QUESTION = 1052;  // "?" adds phrase "2"
constexpr int IDC_PHRASE_BLANK = 1053;     // the captionless button adds phrase "4"
constexpr int IDC_PHRASE_CLEAR = 1054;

// Where the program keeps its phrase files: the program folder's copy, then this one (a
// shipped default is written there the first time it is missing).
constexpr const char* kQuickPhraseFallbackPath = "\\WINDOWS\\RididEdazov.xml";
// The program folder's phrase file ("\usr\bin\" gives "\usr\bin\RididEdazov.xml").
mstring QuickPhrasePath(const mstring& programFolder);

class MRididEdazovChooser {
 public:
  // Reads the phrases of `path` (of the fallback file when `path` cannot be parsed) and runs
  // the dialog modally over `owner`. Only one chooser runs at a time: a second one made while
  // the first is open shows nothing and has an empty result.
  MRididEdazovChooser(const mstring& path, HWND owner);
  virtual ~MRididEdazovChooser();
  MRididEdazovChooser(const MRididEdazovChooser&) = delete;
  MRididEdazovChooser& operator=(const MRididEdazovChooser&) = delete;

  // The edit field's text (UTF-8) when the user confirmed with OK; empty otherwise.
  const mstring& Result() const { return result_; }
  const PhraseList& Phrases() const { return phrases_; }

 private:
  static LRESULT DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  bool OnCommand(WORD id, WORD code);
  // Empties the edit field and lists the starting points.
  void Reset();
  void List(const std::vector<const MRididEdazov*>& choices);
  void Choose();
  // Adds `text` to the edit field, after a space when `spaced` and the field is not empty.
  void AppendText(const mstring& text, bool spaced);
  void AppendPunctuation(const char* id);
  void AskClear();
  wmstring EditText() const;

  PhraseList phrases_;
  mstring result_;
  HWND dialog_ = nullptr;

  static MRididEdazovChooser* running_;  // the open chooser, for the dialog procedure
};
