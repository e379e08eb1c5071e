// The Windows port's small window framework (there is no MFC in mingw).
//
// Window: a C++ object attached to an HWND by subclassing. Its OnMessage sees every message
// first; what it does not handle goes to the window's original procedure (the class's own, or
// the dialog manager's). Owner-draw notifications the parent receives are reflected to the
// control's object, so a control draws itself. The object is found from the HWND through a
// window property, never through a global table.
//
// Dialog: a dialog from a resource or an in-memory template, run modally by our own loop
// (which offers each queued message to PreTranslateMessage of the target window and of each of
// its parents and owners before dispatching it) or created modeless. Dialog windows are
// subclassed from their very creation (a thread-local CBT hook around the create call), so
// they see WM_CREATE like any other window.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mc::win32 {

class Window {
 public:
  Window() = default;
  // A window still attached is detached first (its messages go back to its own procedure)
  // and then destroyed, so no message reaches a half-destroyed object.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The object attached to a window, or nullptr.
  static Window* FromHandle(HWND hwnd);

  // Attaches this object to an existing window (a control made with CreateWindowEx).
  bool Subclass(HWND hwnd);

  // Offered each queued message aimed at this window or one of its children before it is
  // dispatched; true consumes it.
  virtual bool PreTranslateMessage(MSG& msg);

 protected:
  // Handles a message: true with `result` set, or false for the original procedure.
  virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // A notification the parent received about this control (WM_DRAWITEM), handed back to it.
  virtual bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Runs while Subclass attaches, before messages arrive.
  virtual void PreSubclassWindow() {}
  // After the window's last message (WM_NCDESTROY); the object is detached by then.
  virtual void OnFinalMessage() {}
  // The original procedure's answer to a message.
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

 private:
  friend class Dialog;
  friend class CreationHook;
  void Attach(HWND hwnd);
  void Detach();
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
};

// The bytes of a dialog template: from a resource of this program, or made in memory
// (a dialog without controls; controls are created in code).
class DialogTemplate {
 public:
  static DialogTemplate FromResource(int id);
  // Size in dialog units; the title is GBK/system code page text.
  static DialogTemplate InMemory(DWORD style, DWORD exStyle, short cx, short cy,
                                 const std::string& title = std::string());
  // A complete template built by the caller (a class name or a font of its own), copied.
  static DialogTemplate FromBytes(const void* bytes, size_t size);
  bool valid() const { return !words_.empty(); }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

class Dialog : public Window {
 public:
  // The parent is the owner of the dialog window (may be nullptr).
  Dialog(DialogTemplate dialogTemplate, Window* parent);

  // Creates the dialog, disables the owner, and runs until EndDialog or the window is
  // destroyed; returns EndDialog's result, or -1 when the window could not be created.
  INT_PTR DoModal();
  // Creates the dialog without running it; shows it when its template says so.
  bool CreateModeless();
  // Ends a modal run with this result; hides a modeless dialog.
  void EndDialog(INT_PTR result);
  Window* parent() const { return parent_; }

  // Keyboard navigation of the dialog (IsDialogMessage) for its own and its controls'
  // key messages.
  bool PreTranslateMessage(MSG& msg) override;

 protected:
  // WM_INITDIALOG: true lets the system set the focus.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // WM_COMMAND other than IDOK and IDCANCEL; true when handled.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnFinalMessage() override { ended_ = true; }

 private:
  HWND Create(HWND owner);

  DialogTemplate template_;
  Window* parent_;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = -1;
};

// Offers a queued message to PreTranslateMessage of its target and of each parent or owner
// up the chain; true when one of them consumed it.
bool PreTranslateChain(MSG& msg);

}  // namespace mc::win32
