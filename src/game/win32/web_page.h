// CWebPage: calls global functions of the game page through its document's script object.
// The game window hands it the browser's document; every failure answers false, and only a
// missing document is remembered as an error text (nothing shows it).
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <mshtml.h>
#include <oaidl.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/scoped_handles.h"

namespace mc::win32 {

class CWebPage {
 public:
  // Holds the document's IHTMLDocument2, releasing the one held before. A null document is
  // recorded as an error; false also when the object is no HTML document.
  bool AttachDocument(IDispatch* document);
  bool hasDocument() const { return static_cast<bool>(document_); }

  // Calls the page's function `name` with the pieces of `argumentText` split at every ',' the
  // way strtok splits (empty pieces vanish; at most 8 pieces, the rest is dropped), each
  // passed as a string. `result` may be null; otherwise it must be initialised and receives
  // the function's value.
  bool CallScriptFunction(const std::string& name, VARIANT* result, std::string_view argumentText);
  // The same with the pieces given (at most 8 are passed).
  bool CallScriptFunction(const std::string& name, VARIANT* result,
                          const std::vector<std::string>& arguments);

  void RecordError(std::string_view text);
  const std::string& lastError() const { return lastError_; }

 private:
  ComPtr<IHTMLDocument2> document_;
  std::string lastError_;
};

// The call itself on a page's script object: the name looked up with GetIDsOfNames, the
// arguments (system code page text, at most 8) passed as BSTRs in call order. False when the
// name is unknown, the call fails or throws, or its value cannot be copied into `result`
// (which then holds VT_ERROR with the failure code).
bool InvokeScriptFunction(IDispatch* script, const std::string& name,
                          const std::vector<std::string>& arguments, VARIANT* result);

}  // namespace mc::win32
