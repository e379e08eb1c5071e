// The Linux port's message boxes: modal GtkMessageDialogs with the Windows boxes' buttons.
// Texts are UTF-8; callers convert from GBK at their edge.
#pragma once

#include <gtk/gtk.h>

#include <string>

namespace mc::gtk {

// A plain box with no owner, OK only.
void ShowMessage(const std::string& title, const std::string& text);

// A modal question owned by `owner` (may be hidden or null) with OK and Cancel, Cancel
// preselected, kept above other windows as a system-modal box is. True for OK.
bool AskOkCancel(GtkWindow* owner, const std::string& text, const std::string& caption);

}  // namespace mc::gtk
