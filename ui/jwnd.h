// MJWnd: an MWnd whose bring-to-front is the base one; the screens of the program derive
// from it where the product did.
#pragma once

#include "ui/wnd.h"

class MJWnd : public MWnd {
 public:
  using MWnd::MWnd;
  void BringToFront() override { MWnd::BringToFront(); }
};
