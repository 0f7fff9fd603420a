// The text of a dialog's control, as the dialogs read their edits and combo boxes.
#pragma once

#include "platform/dialog.h"
#include "xml/wmstring.h"

// The control's text, at most 255 characters.
wmstring DialogText(HWND dialog, int id);
