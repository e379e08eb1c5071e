// The game window's script bridge on Windows: the page's window.external (GameDialogCallback)
// as page script calls it, and the page calls of CWebPage against a stand-in script object.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "browser/win32/com_values.h"
#include "game/win32/game_dialog_callback.h"
#include "game/win32/tray_icon.h"
#include "game/win32/web_page.h"

namespace mc::win32 {
namespace {

// Owns the callback's creation reference for a test.
class CallbackRef {
 public:
  CallbackRef() : p_(GameDialogCallback::Create()) {}
  ~CallbackRef() { p_->Release(); }
  GameDialogCallback* operator->() const { return p_; }
  GameDialogCallback* get() const { return p_; }

 private:
  GameDialogCallback* p_;
};

class RecordingTarget : public JsCallTarget {
 public:
  void OnJsCallClient(const std::vector<BridgeArg>& args) override {
    calls.push_back(args);
    if (throwOnCall) throw std::runtime_error("window gone wrong");
  }
  std::vector<std::vector<BridgeArg>> calls;
  bool throwOnCall = false;
};

// VARIANT arguments in call order, handed over last to first as DISPPARAMS holds them.
class CallArgs {
 public:
  CallArgs& Text(const std::wstring& text) {
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return Add(v);
  }
  CallArgs& Typed(VARTYPE type, LONG value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = type;
    V_I4(&v) = value;  // VT_I4, VT_INT and VT_UINT share the storage
    return Add(v);
  }
  CallArgs& Object(IDispatch* object) {
    VARIANT v;
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = object;
    return Add(v);
  }
  ~CallArgs() {
    for (VARIANT& v : reversed_)
      if (V_VT(&v) == VT_BSTR) VariantClear(&v);
  }
  DISPPARAMS params(UINT named = 0) {
    return {reversed_.empty() ? nullptr : reversed_.data(), nullptr,
            static_cast<UINT>(reversed_.size()), named};
  }

 private:
  CallArgs& Add(const VARIANT& v) {
    reversed_.insert(reversed_.begin(), v);
    return *this;
  }
  std::vector<VARIANT> reversed_;
};

std::string Describe(const std::vector<BridgeArg>& args) {
  std::string out;
  for (const BridgeArg& a : args) {
    if (!out.empty()) out += ",";
    switch (a.kind) {
      case BridgeArg::Kind::kString: out += "s:" + a.text; break;
      case BridgeArg::Kind::kI4: out += "i4:" + std::to_string(a.integer); break;
      case BridgeArg::Kind::kInt: out += "int:" + std::to_string(a.integer); break;
      case BridgeArg::Kind::kUInt: out += "uint:" + std::to_string(a.integer); break;
      case BridgeArg::Kind::kEmpty: out += "empty"; break;
      default: out += "other"; break;
    }
  }
  return out;
}

HRESULT InvokeJsCall(IDispatch* external, DISPPARAMS params, DISPID id = 100) {
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = external->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD,
                                      &params, &result, nullptr, nullptr);
  VariantClear(&result);
  return hr;
}

TEST(GameDialogCallback, OffersOnlyJsCallClientAsIDispatch) {
  CallbackRef callback;
  void* p = nullptr;
  EXPECT_EQ(callback->QueryInterface(IID_IDispatch, &p), S_OK);
  EXPECT_EQ(p, static_cast<IDispatch*>(callback.get()));
  EXPECT_EQ(callback->QueryInterface(IID_IUnknown, &p), S_OK);
  EXPECT_EQ(callback->Release(), 2u);
  EXPECT_EQ(callback->Release(), 1u);
  p = &p;
  EXPECT_EQ(callback->QueryInterface(IID_IPersist, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(callback->AddRef(), 2u);
  EXPECT_EQ(callback->Release(), 1u);

  struct Case {
    const wchar_t* name;
    HRESULT result;
    DISPID id;
  };
  for (const Case& c : {Case{L"JsCallClient", S_OK, 100}, Case{L"jsCallClient", E_NOTIMPL, -7},
                        Case{L"JsCallClient2", E_NOTIMPL, -7}, Case{L"", E_NOTIMPL, -7}}) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
    DISPID id = -7;
    EXPECT_EQ(callback->GetIDsOfNames(IID_NULL, names, 1, 0, &id), c.result) << c.name;
    EXPECT_EQ(id, c.id) << c.name;
  }
  DISPID id = 0;
  EXPECT_EQ(callback->GetIDsOfNames(IID_NULL, nullptr, 1, 0, &id), E_INVALIDARG);
}

TEST(GameDialogCallback, HandsArgumentsOverInCallOrderWithTheirKinds) {
  CallbackRef callback;
  RecordingTarget target;
  callback->SetTarget(&target);
  CallArgs args;
  args.Text(L"6").Text(L"\u65B0\u6807\u9898").Typed(VT_I4, 1).Typed(VT_INT, 6).Typed(VT_UINT, 7)
      .Typed(VT_NULL, 0).Object(nullptr).Typed(VT_EMPTY, 0);
  EXPECT_EQ(InvokeJsCall(callback.get(), args.params()), S_OK);
  ASSERT_EQ(target.calls.size(), 1u);
  // The title text arrives in the system code page (GBK: 新标题).
  EXPECT_EQ(Describe(target.calls[0]),
            "s:6,s:\xD0\xC2\xB1\xEA\xCC\xE2,i4:1,int:6,uint:7,empty,other,empty");

  // Named arguments (first in the array) are not positional arguments of the call.
  CallArgs named;
  named.Text(L"1").Text(L"named");
  EXPECT_EQ(InvokeJsCall(callback.get(), named.params(1)), S_OK);
  ASSERT_EQ(target.calls.size(), 2u);
  EXPECT_EQ(Describe(target.calls[1]), "s:1");
}

TEST(GameDialogCallback, AnswersOkAndDoesNothingWhenTheCallCannotBeServed) {
  CallbackRef callback;
  RecordingTarget target;
  CallArgs args;
  args.Text(L"1");
  EXPECT_EQ(InvokeJsCall(callback.get(), args.params()), S_OK);  // no window yet
  callback->SetTarget(&target);
  EXPECT_EQ(InvokeJsCall(callback.get(), args.params(), 101), S_OK);  // another member
  EXPECT_EQ(callback->Invoke(100, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr,
                             nullptr),
            S_OK);
  EXPECT_TRUE(target.calls.empty());
  target.throwOnCall = true;  // nothing escapes into the page's script engine
  EXPECT_EQ(InvokeJsCall(callback.get(), args.params()), S_OK);
  EXPECT_EQ(target.calls.size(), 1u);
  EXPECT_EQ(callback->refCount(), 1);
}

// Calls beyond what the bridge could use are refused before their arguments are converted.
TEST(GameDialogCallback, RefusesCallsBeyondTheBridgeBounds) {
  CallbackRef callback;
  RecordingTarget target;
  callback->SetTarget(&target);
  CallArgs many;
  for (int i = 0; i < 65; ++i) many.Text(L"6");
  CallArgs widest;
  for (int i = 0; i < 64; ++i) widest.Text(L"6");
  CallArgs longText;
  longText.Text(L"6").Text(std::wstring(40000, L'x')).Text(L"x");
  for (CallArgs* args : {&many, &longText, &widest})
    EXPECT_EQ(InvokeJsCall(callback.get(), args->params()), S_OK);
  ASSERT_EQ(target.calls.size(), 1u);
  EXPECT_EQ(target.calls[0].size(), 64u);
}

// A page's script object: one function, recorded calls, a chosen outcome.
class FakeScript : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid,
                             DISPID* ids) override {
    lookups.push_back(names[0]);
    lookupLocale = lcid;
    if (count != 1 || lstrcmpW(names[0], L"ClientCallJs") != 0) return DISP_E_UNKNOWNNAME;
    ids[0] = 7;
    return S_OK;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT*) override {
    std::wstring call = std::to_wstring(id) + (flags == DISPATCH_METHOD ? L" method" : L" ?");
    for (UINT i = params->cArgs; i > 0; --i) {
      const VARIANT& v = params->rgvarg[i - 1];
      call += V_VT(&v) == VT_BSTR ? L" " + std::wstring(V_BSTR(&v)) : L" ?";
    }
    calls.push_back(call);
    if (failWith != S_OK) {
      if (exception) exception->bstrDescription = SysAllocString(L"page threw");
      return failWith;
    }
    V_VT(result) = answer;
    if (answer == VT_BSTR) V_BSTR(result) = SysAllocString(L"ok");
    return S_OK;
  }

  std::vector<std::wstring> lookups, calls;
  LCID lookupLocale = 0;
  HRESULT failWith = S_OK;
  VARTYPE answer = VT_BSTR;
};

TEST(CWebPage, CallsThePageFunctionWithTextArgumentsInOrder) {
  FakeScript script;
  ScopedVariant result;
  EXPECT_TRUE(InvokeScriptFunction(&script, "ClientCallJs", {"2", "-5", "\xD0\xC2"}, result.get()));
  ASSERT_EQ(script.calls.size(), 1u);
  EXPECT_EQ(script.calls[0], L"7 method 2 -5 \u65B0");
  EXPECT_EQ(script.lookupLocale, static_cast<LCID>(LOCALE_SYSTEM_DEFAULT));
  ASSERT_EQ(V_VT(result.get()), VT_BSTR);
  EXPECT_STREQ(V_BSTR(result.get()), L"ok");

  // At most 8 arguments.
  EXPECT_TRUE(InvokeScriptFunction(&script, "ClientCallJs",
                                   {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, nullptr));
  EXPECT_EQ(script.calls[1], L"7 method 1 2 3 4 5 6 7 8");
}

TEST(CWebPage, FailsCleanlyWhenThePageCannotBeCalled) {
  FakeScript script;
  EXPECT_FALSE(InvokeScriptFunction(&script, "Missing", {"2"}, nullptr));  // no such function
  EXPECT_TRUE(script.calls.empty());
  script.failWith = DISP_E_EXCEPTION;  // the function throws
  EXPECT_FALSE(InvokeScriptFunction(&script, "ClientCallJs", {"2"}, nullptr));
  EXPECT_EQ(script.calls.size(), 1u);

  // A value that cannot be copied is a failure, not an exception.
  script.failWith = S_OK;
  script.answer = 0x7FFF;
  ScopedVariant result;
  EXPECT_FALSE(InvokeScriptFunction(&script, "ClientCallJs", {}, result.get()));
  EXPECT_EQ(V_VT(result.get()), VT_ERROR);
  EXPECT_TRUE(FAILED(V_ERROR(result.get())));

  CWebPage page;
  EXPECT_FALSE(page.CallScriptFunction("ClientCallJs", nullptr, std::string_view("2,1,1")));
  EXPECT_EQ(page.lastError(), "JSCall Error:\nNULL pointer");
  CWebPage other;
  EXPECT_FALSE(other.AttachDocument(nullptr));
  EXPECT_EQ(other.lastError(), "JSCall Error:\nNULL pointer");
  EXPECT_FALSE(other.AttachDocument(&script));  // no HTML document
  EXPECT_FALSE(other.hasDocument());
}

TEST(TrayIconRecord, HoldsTheWindowsIconAndAtMost64BytesOfTip) {
  TrayIconSetup setup;
  setup.tip = std::string(64, 'a');
  HWND window = reinterpret_cast<HWND>(0x1234);
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
  const NOTIFYICONDATAA record = TrayIconRecord(window, icon, setup);
  EXPECT_EQ(record.cbSize, 488u);
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.uID, 128u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 2025u);
  EXPECT_EQ(record.hIcon, icon);
  EXPECT_EQ(std::string(record.szTip), setup.tip);
  for (size_t i = 64; i < sizeof record.szTip; ++i) EXPECT_EQ(record.szTip[i], 0) << i;
}

}  // namespace
}  // namespace mc::win32
