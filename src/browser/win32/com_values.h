// Owners and conversions for the COM values the browser wrapper passes around: BSTRs, VARIANTs
// and the 8-bit system code page texts of the rest of the program.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "browser/script_value.h"
#include "platform/win32/ansi_text.h"

namespace mc::win32 {

class ScopedBstr {
 public:
  ScopedBstr() = default;
  explicit ScopedBstr(BSTR b) : b_(b) {}
  ~ScopedBstr() { SysFreeString(b_); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR get() const { return b_; }
  BSTR* put() {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }

 private:
  BSTR b_ = nullptr;
};

class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&v_); }
  ~ScopedVariant() { VariantClear(&v_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* get() { return &v_; }
  const VARIANT& value() const { return v_; }

 private:
  VARIANT v_;
};

inline std::string AnsiFromBstr(BSTR b) { return b ? AnsiFromWide(b, SysStringLen(b)) : ""; }
// A new BSTR of a system code page text; null only when memory runs out.
BSTR BstrFromAnsi(std::string_view ansi);

// The text a browser event passes in a VARIANT: a BSTR given directly or by reference, or a
// VARIANT by reference holding one. Null when the VARIANT holds no text.
const BSTR* VariantBstr(const VARIANT& v);

// A script value from a VARIANT (by-reference values followed once). Whole and real numbers
// become numbers, texts system code page strings, objects and other types [object].
ScriptValue ScriptValueFromVariant(const VARIANT& v);

// Arguments of a dispatch call in call order (DISPPARAMS holds them last to first); named
// arguments are left out, as the call order does not place them.
ScriptArgs ScriptArgsFromDispParams(const DISPPARAMS& params);

}  // namespace mc::win32
