#include "game/win32/web_page.h"

#include <algorithm>
#include <array>

#include "browser/win32/browser_ids.h"
#include "browser/win32/com_values.h"
#include "game/script_bridge.h"

namespace mc::win32 {
namespace {

// The argument VARIANTs of one call, cleared on every path.
class ArgumentArea {
 public:
  ArgumentArea() {
    for (VARIANT& v : items_) VariantInit(&v);
  }
  ~ArgumentArea() {
    for (VARIANT& v : items_) VariantClear(&v);
  }
  ArgumentArea(const ArgumentArea&) = delete;
  ArgumentArea& operator=(const ArgumentArea&) = delete;
  VARIANT* data() { return items_.data(); }
  VARIANT& operator[](size_t i) { return items_[i]; }

 private:
  std::array<VARIANT, kMaxScriptArguments> items_;
};

}  // namespace

bool CWebPage::AttachDocument(IDispatch* document) {
  if (!document) {
    RecordError(kNullPointerError);
    return false;
  }
  document_.reset();
  return SUCCEEDED(document->QueryInterface(kIidHtmlDocument2, document_.put_void())) &&
         document_;
}

bool CWebPage::CallScriptFunction(const std::string& name, VARIANT* result,
                                  std::string_view argumentText) {
  return CallScriptFunction(name, result, SplitScriptArguments(argumentText));
}

bool CWebPage::CallScriptFunction(const std::string& name, VARIANT* result,
                                  const std::vector<std::string>& arguments) {
  if (!document_) {
    RecordError(kNullPointerError);
    return false;
  }
  ComPtr<IDispatch> script;
  if (FAILED(document_->get_Script(script.put())) || !script) return false;
  return InvokeScriptFunction(script.get(), name, arguments, result);
}

void CWebPage::RecordError(std::string_view text) {
  lastError_ = kScriptErrorPrefix;
  lastError_ += text;
}

bool InvokeScriptFunction(IDispatch* script, const std::string& name,
                          const std::vector<std::string>& arguments, VARIANT* result) {
  if (!script) return false;
  std::wstring wideName = WideFromAnsi(name);
  LPOLESTR names[] = {wideName.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(script->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id))) return false;

  // DISPPARAMS holds the arguments last to first, so the function sees them in text order.
  const size_t count = std::min(arguments.size(), kMaxScriptArguments);
  ArgumentArea area;
  for (size_t i = 0; i < count; ++i) {
    VARIANT& v = area[count - 1 - i];
    V_BSTR(&v) = BstrFromAnsi(arguments[i]);
    if (!V_BSTR(&v)) return false;
    V_VT(&v) = VT_BSTR;
  }
  DISPPARAMS params = {area.data(), nullptr, static_cast<UINT>(count), 0};
  ScopedVariant local;
  EXCEPINFO exception = {};
  UINT argumentError = 0;
  const HRESULT hr = script->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, local.get(),
                                    &exception, &argumentError);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (FAILED(hr)) return false;
  if (!result || result == local.get()) return true;
  const HRESULT copied = VariantCopy(result, local.get());
  if (FAILED(copied)) {
    VariantClear(result);
    V_VT(result) = VT_ERROR;
    V_ERROR(result) = copied;
    return false;
  }
  return true;
}

}  // namespace mc::win32
