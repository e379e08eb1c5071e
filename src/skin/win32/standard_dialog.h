// The overlay of a translucent dialog: an ordinary dialog whose background is painted in a
// colour key and made invisible and click-through with that key, so that only its controls
// appear to float on the picture below. Closing it (OK or Cancel) closes the window below.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "platform/win32/gdi_handles.h"
#include "platform/win32/window_base.h"

namespace mc::win32 {

class CTranslucentDialog;

class CStandardDialog : public Dialog {
 public:
  // The parent is the translucent dialog the overlay lies on.
  CStandardDialog(DialogTemplate dialogTemplate, COLORREF colorKey, Window* parent);

  // The translucent dialog this overlay covers; set by whoever makes the overlay, never read
  // here (derived dialogs act on both windows through it).
  CTranslucentDialog* owner = nullptr;
  COLORREF colorKey() const { return colorKey_; }

 protected:
  // Derived dialogs call this first in their own.
  BOOL OnInitDialog() override;
  // OK and Cancel first close the window below (and wait for it), then end this dialog.
  void OnOK() override;
  void OnCancel() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void CloseParent();

  COLORREF colorKey_;
  ScopedBrush keyBrush_;
};

}  // namespace mc::win32
