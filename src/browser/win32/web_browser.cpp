#include "browser/win32/web_browser.h"

#include <ocidl.h>

#include "browser/win32/browser_ids.h"
#include "browser/win32/com_values.h"
#include "browser/win32/page_call.h"

// Why our own container: mingw has no framework that hosts ActiveX controls, and the control
// needs little: a client site, an in-place site whose window is ours, a frame that takes its
// active object, and ambient properties that all say "use your default". The container keeps
// a second event connection of its own (besides the document host handler's) so the owner gets
// the events whether or not a handler is attached.

namespace mc::win32 {
namespace {

constexpr char kWindowClass[] = "MicroClientBrowser";

bool RegisterBrowserClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

CWebBrowser::~CWebBrowser() {
  Destroy();
  if (oleInitialized_) OleUninitialize();
}

bool CWebBrowser::Create(const char* windowName, DWORD style, const RECT& rect, HWND parent,
                         int controlId, BrowserEvents* events) {
  if (hwnd_) return false;
  // In-place activation needs OLE on this thread; each browser holds one initialisation.
  if (!oleInitialized_) oleInitialized_ = SUCCEEDED(OleInitialize(nullptr));
  if (!oleInitialized_) return false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!RegisterBrowserClass(instance, WindowProc)) return false;
  controlId_ = controlId;
  sink_.SetTarget(events, controlId);
  hwnd_ = CreateWindowExA(0, kWindowClass, windowName ? windowName : "",
                          style | WS_CLIPCHILDREN, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance,
                          this);
  if (!hwnd_) return false;
  site_.SetHost(hwnd_);
  if (!CreateControl()) {
    Destroy();
    return false;
  }
  return true;
}

bool CWebBrowser::CreateControl() {
  if (FAILED(CoCreateInstance(kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              control_.put_void())) ||
      !control_) {
    return false;
  }
  if (FAILED(control_->SetClientSite(&site_))) return false;
  OleSetContainedObject(control_.get(), TRUE);
  RECT client;
  GetClientRect(hwnd_, &client);
  if (FAILED(control_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site_, 0, hwnd_, &client))) {
    return false;
  }
  if (FAILED(control_->QueryInterface(kIidWebBrowser2, browser_.put_void())) || !browser_) {
    return false;
  }
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, container.put_void())) &&
      container &&
      SUCCEEDED(container->FindConnectionPoint(kDiidWebBrowserEvents2, point.put())) && point) {
    DWORD cookie = 0;
    if (SUCCEEDED(point->Advise(&sink_, &cookie))) sinkCookie_ = cookie;
  }
  return true;
}

void CWebBrowser::Destroy() {
  if (!hwnd_) return;
  DestroyWindow(hwnd_);  // WM_DESTROY closes the control
  hwnd_ = nullptr;
}

void CWebBrowser::CloseControl() {
  if (!control_ && !browser_) return;
  OnControlClosing();
  if (browser_ && sinkCookie_) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, container.put_void())) &&
        container &&
        SUCCEEDED(container->FindConnectionPoint(kDiidWebBrowserEvents2, point.put())) && point) {
      point->Unadvise(sinkCookie_);
    }
  }
  sinkCookie_ = 0;
  if (control_) {
    ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(control_->QueryInterface(IID_IOleInPlaceObject, inPlace.put_void())) && inPlace) {
      inPlace->InPlaceDeactivate();
    }
    control_->Close(OLECLOSE_NOSAVE);
    control_->SetClientSite(nullptr);
  }
  site_.ReleaseActiveObject();
  browser_.reset();
  control_.reset();
}

void CWebBrowser::ResizeControl() {
  if (!control_) return;
  ComPtr<IOleInPlaceObject> inPlace;
  if (FAILED(control_->QueryInterface(IID_IOleInPlaceObject, inPlace.put_void())) || !inPlace) {
    return;
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  inPlace->SetObjectRects(&client, &client);
}

LRESULT CALLBACK CWebBrowser::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CWebBrowser*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self) {
    try {
      switch (msg) {
        case WM_SIZE:
          self->ResizeControl();
          return 0;
        case WM_SETFOCUS:
          // Focus goes on to the page.
          if (self->control_) {
            RECT client;
            GetClientRect(hwnd, &client);
            self->control_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &self->site_, 0, hwnd, &client);
          }
          return 0;
        case WM_ERASEBKGND:
          return 1;  // the control paints the whole area
        case WM_DESTROY:
          self->CloseControl();
          break;
        case WM_NCDESTROY:
          SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
          if (self->hwnd_ == hwnd) self->hwnd_ = nullptr;
          self->site_.SetHost(nullptr);
          break;
        default:
          break;
      }
    } catch (...) {
      // Nothing may escape a window procedure.
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool CWebBrowser::Navigate(const std::string& url) {
  if (!browser_) return false;
  ScopedBstr address(BstrFromAnsi(url));
  if (!address.get()) return false;
  VARIANT empty;
  VariantInit(&empty);
  return SUCCEEDED(browser_->Navigate(address.get(), &empty, &empty, &empty, &empty));
}

bool CWebBrowser::GetDocument(ComPtr<IDispatch>& document) const {
  if (!browser_) return false;
  return SUCCEEDED(browser_->get_Document(document.put())) && document;
}

void CWebBrowser::SetSilent(bool silent) {
  if (browser_) browser_->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

void CWebBrowser::CallFunction(const std::string& name, const std::vector<std::string>& args,
                               const CallDone& done) {
  ScriptValue result;
  const bool ok = CallPageFunction(browser_.get(), name, args, result);
  if (done) done(ok, result);
}

namespace {

// The deepest window of the control that takes keys: the document view's.
BOOL CALLBACK FindDocumentWindow(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, "Internet Explorer_Server") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

void CWebBrowser::FocusPage() {
  if (!hwnd_) return;
  HWND document = nullptr;
  EnumChildWindows(hwnd_, FindDocumentWindow, reinterpret_cast<LPARAM>(&document));
  SetFocus(document ? document : hwnd_);
}

bool CWebBrowser::PreTranslateMessage(MSG* msg) {
  if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !hwnd_) return false;
  if (msg->hwnd != hwnd_ && !IsChild(hwnd_, msg->hwnd)) return false;
  IOleInPlaceActiveObject* active = site_.activeObject();
  ComPtr<IOleInPlaceActiveObject> queried;
  if (!active && browser_ &&
      SUCCEEDED(browser_->QueryInterface(IID_IOleInPlaceActiveObject, queried.put_void()))) {
    active = queried.get();
  }
  return active && active->TranslateAccelerator(msg) == S_OK;
}

}  // namespace mc::win32
