// The fix indicator: the main menu bar's "GPS Status" button (command 113) is enabled while the
// receiver delivers positions and disabled when it reports no fix. The bar belongs to the
// program's windows, which sit above this library, so the program installs how it is reached.
#pragma once

// Shows the indicator; must be safe to call from any thread.
using FixIndicatorFunction = void (*)(bool fix);

// Installs the program's indicator (null: the indicator is not shown anywhere).
void SetFixIndicator(FixIndicatorFunction show);
// Any thread.
void ShowGpsFix(bool fix);
