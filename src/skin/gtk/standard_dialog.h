// The control layer of a translucent dialog on Linux. Where Windows keeps a colour-keyed
// dialog over the layered picture, Linux has one RGBA window: the picture painted below, this
// layer (a fixed container in picture coordinates) above it. Everything the layer holds is
// visible and takes input; the rest of the picture moves the window when pressed. Closing the
// layer (OK or Cancel) closes the dialog.
#pragma once

#include <gtk/gtk.h>

namespace mc::gtk {

class CTranslucentDialog;

inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;

class CStandardDialog {
 public:
  explicit CStandardDialog(CTranslucentDialog* parent) : parent_(parent) {}
  virtual ~CStandardDialog() = default;
  CStandardDialog(const CStandardDialog&) = delete;
  CStandardDialog& operator=(const CStandardDialog&) = delete;

  // The translucent dialog this layer covers; set by whoever makes it, never read here.
  CTranslucentDialog* owner = nullptr;
  CTranslucentDialog* parent() const { return parent_; }

  // The container of the controls; exists from OnInitDialog until the dialog's run ends.
  GtkWidget* layer() const { return layer_; }
  // Adds a control at (x, y) of the picture; it shows and takes input there.
  void Put(GtkWidget* control, int x, int y);
  // This layer's own result: kDialogOk or kDialogCancel, 0 while open.
  int result() const { return result_; }

  // Both close the translucent dialog first (its result is a Cancel either way), then end
  // this layer with its own result.
  virtual void OnOK();
  virtual void OnCancel();

 protected:
  // Called once the layer exists, before the dialog is shown; derived dialogs create their
  // controls here. True lets the dialog set the focus.
  virtual bool OnInitDialog() { return true; }

 private:
  friend class CTranslucentDialog;
  void Create(GtkWidget* layer);
  void CloseParent();

  CTranslucentDialog* parent_;
  GtkWidget* layer_ = nullptr;  // owned by the dialog's window
  int result_ = 0;
};

}  // namespace mc::gtk
