// Where a top-level window sits on the desktop: the smallest size the user may shrink it to,
// and its size and position kept in the registry from one run to the next.
#pragma once

#include "platform/registry.h"
#include "platform/window.h"

// The smallest outer size (menu bar included) the user can resize the window to; the window
// grows at once when it is smaller. FALSE for a window without a widget.
BOOL SetWindowMinimumSize(HWND window, int width, int height);

// Restores the window's size and position from DWORD values "LEFT", "TOP", "WIDTH" and
// "HEIGHT" under `root`\`subKey` and writes them back there whenever the user moves or
// resizes the window (a moment after the last change) and when it closes. A stored position
// from which too little of the window would be on any screen, or a size that is missing or
// absurd, leaves the window where and as big as it was made. While the window is maximised or
// minimised its last normal placement is kept. FALSE for a window without a widget.
BOOL RememberWindowPlacement(HWND window, HKEY root, const WCHAR* subKey);
