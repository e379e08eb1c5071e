#include "platform/win32/window_base.h"

#include <cstring>

#include "platform/win32/ansi_text.h"

namespace mc::win32 {
namespace {

constexpr char kObjectProperty[] = "McWindowObject";

// The dialog being created on this thread and the hook that attaches it to its first window.
// Set only for the duration of one CreateDialog call; a dialog created while another is being
// created (an overlay made in WM_CREATE) saves and restores the outer pair.
thread_local Window* t_creating = nullptr;
thread_local HHOOK t_hook = nullptr;

INT_PTR CALLBACK IgnoreDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

// The CBT hook sees each window of the thread just before its first message. The system may
// make the thread's input-method windows first; they are not the dialog.
class CreationHook {
 public:
  static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && t_creating && !IsInputMethodWindow(reinterpret_cast<HWND>(wp))) {
      Window* window = t_creating;
      t_creating = nullptr;
      window->Attach(reinterpret_cast<HWND>(wp));
    }
    return CallNextHookEx(t_hook, code, wp, lp);
  }

 private:
  static bool IsInputMethodWindow(HWND hwnd) {
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpiA(name, "IME") == 0 || lstrcmpiA(name, "MSCTFIME UI") == 0;
  }
};

Window::~Window() {
  if (!hwnd_) return;
  const HWND hwnd = hwnd_;
  Detach();
  DestroyWindow(hwnd);
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropA(hwnd, kObjectProperty)) : nullptr;
}

bool Window::Subclass(HWND hwnd) {
  if (!hwnd || hwnd_ || FromHandle(hwnd)) return false;
  Attach(hwnd);
  PreSubclassWindow();
  return true;
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropA(hwnd, kObjectProperty, this);
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Procedure)));
}

void Window::Detach() {
  if (!hwnd_) return;
  if (GetWindowLongPtrA(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Window::Procedure))
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  RemovePropA(hwnd_, kObjectProperty);
  hwnd_ = nullptr;
}

bool Window::PreTranslateMessage(MSG&) { return false; }

bool Window::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Window::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp) {
  return original_ ? CallWindowProcA(original_, hwnd_, msg, wp, lp)
                   : DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = FromHandle(hwnd);
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  const WNDPROC original = self->original_;
  if (msg == WM_NCDESTROY) {
    const LRESULT result = CallWindowProcA(original, hwnd, msg, wp, lp);
    self->Detach();
    self->OnFinalMessage();
    return result;
  }
  // No exception may leave a window procedure: a handler that throws gets the default answer.
  try {
    LRESULT result = 0;
    if (msg == WM_DRAWITEM) {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      Window* control = item && item->CtlType != ODT_MENU ? FromHandle(item->hwndItem) : nullptr;
      if (control && control != self && control->OnReflectedMessage(msg, wp, lp, result))
        return result;
    }
    if (self->OnMessage(msg, wp, lp, result)) return result;
  } catch (...) {
  }
  return CallWindowProcA(original, hwnd, msg, wp, lp);
}

DialogTemplate DialogTemplate::FromResource(int id) {
  DialogTemplate t;
  const HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (!info) return t;
  const DWORD size = SizeofResource(module, info);
  HGLOBAL resource = LoadResource(module, info);
  const void* bytes = resource ? LockResource(resource) : nullptr;
  if (!bytes || size < sizeof(DLGTEMPLATE)) return t;
  t.words_.resize((size + 1) / 2);
  std::memcpy(t.words_.data(), bytes, size);
  return t;
}

DialogTemplate DialogTemplate::FromBytes(const void* bytes, size_t size) {
  DialogTemplate t;
  if (!bytes || size < sizeof(DLGTEMPLATE)) return t;
  t.words_.resize((size + 1) / 2);
  std::memcpy(t.words_.data(), bytes, size);
  return t;
}

DialogTemplate DialogTemplate::InMemory(DWORD style, DWORD exStyle, short cx, short cy,
                                        const std::string& title) {
  DialogTemplate t;
  DLGTEMPLATE header{};
  header.style = style & ~static_cast<DWORD>(DS_SETFONT);  // no font block follows
  header.dwExtendedStyle = exStyle;
  header.cx = cx;
  header.cy = cy;
  t.words_.resize(sizeof header / sizeof(WORD));
  std::memcpy(t.words_.data(), &header, sizeof header);
  t.words_.push_back(0);  // no menu
  t.words_.push_back(0);  // the standard dialog class
  for (wchar_t c : WideFromAnsi(title.c_str())) t.words_.push_back(static_cast<WORD>(c));
  t.words_.push_back(0);
  return t;
}

Dialog::Dialog(DialogTemplate dialogTemplate, Window* parent)
    : template_(std::move(dialogTemplate)), parent_(parent) {}

HWND Dialog::Create(HWND owner) {
  if (!template_.valid() || hwnd()) return nullptr;
  Window* const outerCreating = t_creating;
  const HHOOK outerHook = t_hook;
  t_creating = this;
  t_hook = SetWindowsHookExA(WH_CBT, &CreationHook::Proc, nullptr, GetCurrentThreadId());
  const HHOOK hook = t_hook;
  HWND created = nullptr;
  if (hook)
    created = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), template_.get(), owner,
                                         IgnoreDialogProc, 0);
  if (hook) UnhookWindowsHookEx(hook);
  t_creating = outerCreating;
  t_hook = outerHook;
  return created;
}

bool Dialog::CreateModeless() {
  modal_ = false;
  ended_ = false;
  return Create(parent_ ? parent_->hwnd() : nullptr) != nullptr;
}

INT_PTR Dialog::DoModal() {
  const HWND owner = parent_ ? parent_->hwnd() : nullptr;
  modal_ = true;
  ended_ = false;
  result_ = -1;
  if (!Create(owner)) {
    modal_ = false;
    return -1;
  }
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  if (!ended_ && hwnd() && !IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_SHOWNORMAL);
  MSG msg;
  while (!ended_ && hwnd()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT to the outer loop
      break;
    }
    if (got < 0) break;
    if (!PreTranslateChain(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // The owner comes back before this window goes, so activation returns to it.
  if (disableOwner) EnableWindow(owner, TRUE);
  if (hwnd()) DestroyWindow(hwnd());
  modal_ = false;
  return result_;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (!hwnd()) return;
  if (modal_) PostMessageA(hwnd(), WM_NULL, 0, 0);  // wake the loop
  else ShowWindow(hwnd(), SW_HIDE);
}

bool Dialog::PreTranslateMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !hwnd()) return false;
  if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
  // Dialog navigation walks the visible controls until it meets the message's window again:
  // for a window in a hidden part (a page area before its first document) it never would,
  // and a typed character would hang the loop.
  if (!IsWindowVisible(msg.hwnd)) return false;
  return IsDialogMessageA(hwnd(), &msg) != FALSE;
}

bool Dialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_INITDIALOG:
      result = OnInitDialog();
      return true;
    case WM_COMMAND: {
      const int id = LOWORD(wp), code = HIWORD(wp);
      result = 0;
      if (id == IDOK && code == BN_CLICKED) {
        OnOK();
        return true;
      }
      if (id == IDCANCEL && code == BN_CLICKED) {
        OnCancel();
        return true;
      }
      return OnCommand(id, code, reinterpret_cast<HWND>(lp));
    }
    default:
      return false;
  }
}

bool PreTranslateChain(MSG& msg) {
  for (HWND h = msg.hwnd; h; h = GetParent(h))
    if (Window* window = Window::FromHandle(h); window && window->PreTranslateMessage(msg))
      return true;
  return false;
}

}  // namespace mc::win32
