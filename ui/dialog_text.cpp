#include "ui/dialog_text.h"

wmstring DialogText(HWND dialog, int id) {
  WCHAR text[256] = {};
  GetDlgItemTextW(dialog, id, text, 256);
  return wmstring(text);
}
