#include "skin/win32/standard_dialog.h"

#include "platform/win32/system_functions.h"

namespace mc::win32 {

CStandardDialog::CStandardDialog(DialogTemplate dialogTemplate, COLORREF colorKey, Window* parent)
    : Dialog(std::move(dialogTemplate), parent), colorKey_(colorKey) {}

BOOL CStandardDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  keyBrush_.reset(CreateSolidBrush(colorKey_));
  SetWindowLongA(hwnd(), GWL_EXSTYLE, GetWindowLongA(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
  SystemFunctions user32;
  if (user32.setLayeredWindowAttributes)
    user32.setLayeredWindowAttributes(hwnd(), colorKey_, 0, LWA_COLORKEY);
  return TRUE;
}

bool CStandardDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  // Only the dialog's own background is painted in the key; controls keep their colours.
  if (msg == WM_CTLCOLORDLG && keyBrush_) {
    result = reinterpret_cast<LRESULT>(keyBrush_.get());
    return true;
  }
  return Dialog::OnMessage(msg, wp, lp, result);
}

void CStandardDialog::CloseParent() {
  // For this popup, GetParent answers the translucent dialog it was created over; its WM_CLOSE
  // is a Cancel of that dialog, which ends its modal run.
  if (HWND parent = GetParent(hwnd())) SendMessageA(parent, WM_CLOSE, 0, 0);
}

void CStandardDialog::OnOK() {
  CloseParent();
  Dialog::OnOK();
}

void CStandardDialog::OnCancel() {
  CloseParent();
  Dialog::OnCancel();
}

}  // namespace mc::win32
