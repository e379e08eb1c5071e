// Offers an object of the core (ScriptObject) to page script through IDispatch, the form the
// browser control's window.external takes. Method names map to dispatch ids 100, 101, ... in the
// order the object lists them; a call (DISPATCH_METHOD) hands the arguments, in call order and
// with their types, to ScriptObject::Call and yields no value. Reading a member as a property
// gives nothing. Lives inside its browser wrapper: reference counting never frees it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "browser/script_object.h"

namespace mc::win32 {

class ScriptObjectDispatch : public IDispatch {
 public:
  static constexpr DISPID kFirstMethod = 100;

  void SetObject(ScriptObject* object) { object_ = object; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override;

 private:
  ScriptObject* object_ = nullptr;
  LONG refCount_ = 0;
};

}  // namespace mc::win32
