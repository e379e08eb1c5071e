#include "browser/win32/page_call.h"

#include <mshtml.h>

#include "browser/page_script.h"
#include "browser/win32/browser_ids.h"
#include "browser/win32/com_values.h"
#include "platform/win32/scoped_handles.h"

namespace mc::win32 {
namespace {

// Owns the argument VARIANTs of one call.
class VariantArray {
 public:
  explicit VariantArray(size_t n) : items_(n) {
    for (VARIANT& v : items_) VariantInit(&v);
  }
  ~VariantArray() {
    for (VARIANT& v : items_) VariantClear(&v);
  }
  VariantArray(const VariantArray&) = delete;
  VariantArray& operator=(const VariantArray&) = delete;
  VARIANT* data() { return items_.empty() ? nullptr : items_.data(); }
  VARIANT& operator[](size_t i) { return items_[i]; }

 private:
  std::vector<VARIANT> items_;
};

}  // namespace

bool CallPageFunction(IWebBrowser2* browser, const std::string& name,
                      const std::vector<std::string>& args, ScriptValue& result) {
  result = ScriptValue::Undefined();
  if (!browser || !IsScriptIdentifier(name)) return false;
  ComPtr<IDispatch> document;
  if (FAILED(browser->get_Document(document.put())) || !document) return false;
  ComPtr<IHTMLDocument2> html;
  if (FAILED(document->QueryInterface(kIidHtmlDocument2, html.put_void())) || !html) return false;
  ComPtr<IDispatch> script;
  if (FAILED(html->get_Script(script.put())) || !script) return false;

  std::wstring wideName = WideFromAnsi(name);
  LPOLESTR names[] = {wideName.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(script->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id))) return false;

  // DISPPARAMS holds the arguments last to first.
  VariantArray variants(args.size());
  for (size_t i = 0; i < args.size(); ++i) {
    VARIANT& v = variants[args.size() - 1 - i];
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = BstrFromAnsi(args[i]);
    if (!V_BSTR(&v)) return false;
  }
  DISPPARAMS params = {variants.data(), nullptr, static_cast<UINT>(args.size()), 0};
  ScopedVariant value;
  EXCEPINFO exception = {};
  UINT argError = 0;
  const HRESULT hr = script->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, value.get(),
                                    &exception, &argError);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (FAILED(hr)) return false;
  result = ScriptValueFromVariant(value.value());
  return true;
}

}  // namespace mc::win32
