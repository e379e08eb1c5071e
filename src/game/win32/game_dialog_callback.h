// GameDialogCallback: the game page's window.external. Page script calls its one method,
// JsCallClient, and the call's arguments go to the running game window in call order.
//
// The object is made with one reference, its window's. It holds only a plain pointer to the
// window, cleared by the window when it goes, so a browser that keeps window.external a little
// longer than the window calls into nothing. References are counted with interlocked
// operations, never drop below 0, and the last one frees the object.
//
// Why the game has its own dispatch instead of the generic ScriptObjectDispatch over the core
// ScriptObject (which the launcher's pages use): the game's command dispatch tells the integer
// kinds of a call apart (VT_I4, VT_INT and VT_UINT are different BridgeArg kinds, see
// bridge_args.h), which a ScriptValue, a script value with a single number type, cannot
// carry; and this object must outlive its window safely (counted, detachable), while the
// generic dispatch lives inside its browser wrapper and is never freed through references.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "game/script_bridge.h"

namespace mc::win32 {

// Who receives the page's JsCallClient calls.
class JsCallTarget {
 public:
  virtual ~JsCallTarget() = default;
  // Arguments in call order.
  virtual void OnJsCallClient(const std::vector<BridgeArg>& args) = 0;
};

class GameDialogCallback : public IDispatch {
 public:
  // A new object holding one reference for the caller; nullptr when memory runs out.
  static GameDialogCallback* Create();

  // The window that receives calls; nullptr while there is none (calls then do nothing).
  void SetTarget(JsCallTarget* target) { target_ = target; }
  LONG refCount() const { return refCount_; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  // "JsCallClient" (exact case) is dispatch id 100; any other name answers E_NOTIMPL.
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  // Dispatch id 100 hands the arguments to the window. Always S_OK: the page's call yields no
  // value, and a call the window does not understand is simply ignored.
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override;

 private:
  GameDialogCallback() = default;
  virtual ~GameDialogCallback() = default;

  volatile LONG refCount_ = 1;
  JsCallTarget* target_ = nullptr;
};

}  // namespace mc::win32
