#include "skin/gtk/standard_dialog.h"

#include "skin/gtk/translucent_dialog.h"

namespace mc::gtk {

void CStandardDialog::Create(GtkWidget* layer) {
  layer_ = layer;
  result_ = 0;
  OnInitDialog();
}

void CStandardDialog::Put(GtkWidget* control, int x, int y) {
  if (layer_) gtk_fixed_put(GTK_FIXED(layer_), control, x, y);
}

void CStandardDialog::CloseParent() {
  if (parent_) parent_->EndDialog(kDialogCancel);
}

void CStandardDialog::OnOK() {
  CloseParent();
  result_ = kDialogOk;
}

void CStandardDialog::OnCancel() {
  CloseParent();
  result_ = kDialogCancel;
}

}  // namespace mc::gtk
