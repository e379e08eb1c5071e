// CWebBrowser on Windows: a child window that hosts the WebBrowser ActiveX control in our own
// small OLE container (no framework does it for us in mingw). The control fills the window and
// follows its size. The owner drives it with Navigate, GetDocument, SetSilent and CallFunction,
// and receives its events as BrowserEvents calls tagged with the control id.
//
// Events, as the control fires them: BeforeNavigate2 for the page and every frame (cancel
// honoured), NavigateComplete2 and DocumentComplete for the page and every frame, NewWindow
// for pop-ups (not cancelled: the control opens its own browser window).
//
// Keyboard: the owner's message loop offers key messages to PreTranslateMessage so the page
// gets Tab, arrows and its accelerators.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "browser/browser_events.h"
#include "browser/script_value.h"
#include "browser/win32/browser_event_sink.h"
#include "browser/win32/ole_site.h"
#include "platform/win32/scoped_handles.h"

namespace mc::win32 {

class CWebBrowser {
 public:
  CWebBrowser() = default;
  virtual ~CWebBrowser();
  CWebBrowser(const CWebBrowser&) = delete;
  CWebBrowser& operator=(const CWebBrowser&) = delete;

  // Creates the window (name, style, rectangle in parent client coordinates, parent, id) and
  // the control in it, with no persisted state. False when the control cannot be created
  // (not registered, no OLE on this thread) or when already created; nothing is left behind.
  bool Create(const char* windowName, DWORD style, const RECT& rect, HWND parent, int controlId,
              BrowserEvents* events = nullptr);
  // Destroys the window and closes the control; also done by the destructor.
  void Destroy();

  HWND hwnd() const { return hwnd_; }
  int controlId() const { return controlId_; }
  void SetEvents(BrowserEvents* events) { sink_.SetTarget(events, controlId_); }
  // The control's IUnknown as the site holds it (no reference added); null before Create.
  IUnknown* ControlUnknown() const { return control_.get(); }

  // Starts loading an address given in the system code page. False before Create.
  bool Navigate(const std::string& url);
  // The current document (the caller then holds its own reference); false when there is none.
  bool GetDocument(ComPtr<IDispatch>& document) const;
  // True keeps the control from showing script error and other dialogs of its own.
  void SetSilent(bool silent);

  // Calls the current page's global function `name` with string arguments (system code page),
  // passed as values. `done` runs before the call returns, with the function's result, or with
  // ok false when there is no document, no such function, the call failed or `name` is no
  // identifier.
  using CallDone = std::function<void(bool ok, const ScriptValue& result)>;
  void CallFunction(const std::string& name, const std::vector<std::string>& args,
                    const CallDone& done);

  // Offers a key message to the page; true when the control used it.
  bool PreTranslateMessage(MSG* msg);

  // Gives the keyboard focus to the page: the control's document window when it has one,
  // else this window.
  void FocusPage();

 protected:
  // Called while the window is destroyed, before the control closes.
  virtual void OnControlClosing() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool CreateControl();
  void CloseControl();
  void ResizeControl();

  HWND hwnd_ = nullptr;
  int controlId_ = 0;
  bool oleInitialized_ = false;
  OleSite site_;
  BrowserEventSink sink_;
  ComPtr<IOleObject> control_;
  ComPtr<IWebBrowser2> browser_;
  DWORD sinkCookie_ = 0;
};

}  // namespace mc::win32
