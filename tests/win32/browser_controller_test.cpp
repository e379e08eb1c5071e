// The Windows browser wrapper's COM contract, checked against the real WebBrowser control under
// Wine where a control is needed: the document host handler's answers, its event connection,
// the container's event sink, and the dispatch adapter that gives pages a core object.
#include <gtest/gtest.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "browser/win32/browser_event_sink.h"
#include "browser/win32/browser_ids.h"
#include "browser/win32/com_values.h"
#include "browser/win32/script_object_dispatch.h"
#include "browser/win32/web_browser_ex.h"
#include "../lib/script_value_text.h"

namespace mc::win32 {
namespace {

// A top-level window for the control, made and destroyed per test.
class HostWindow {
 public:
  HostWindow() {
    hwnd_ = CreateWindowA("STATIC", "host", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  }
  ~HostWindow() { DestroyWindow(hwnd_); }
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

constexpr RECT kArea = {0, 0, 320, 240};

// Connections on the control's DWebBrowserEvents2 point.
int EventConnections(IUnknown* control) {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  ComPtr<IEnumConnections> connections;
  if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, container.put_void())) ||
      FAILED(container->FindConnectionPoint(kDiidWebBrowserEvents2, point.put())) ||
      FAILED(point->EnumConnections(connections.put()))) {
    return -1;
  }
  int count = 0;
  CONNECTDATA data;
  while (connections->Next(1, &data, nullptr) == S_OK) {
    if (data.pUnk) data.pUnk->Release();
    ++count;
  }
  return count;
}

class Recorder : public BrowserEvents {
 public:
  void BeforeNavigate2(int id, const std::string& url, bool& cancel) override {
    log.push_back(std::to_string(id) + " before " + url);
    cancel = url.find("blocked") != std::string::npos;
  }
  void NavigateComplete2(int id, const std::string& url) override {
    log.push_back(std::to_string(id) + " navcomplete " + url);
  }
  void DocumentComplete(int id, const std::string& url) override {
    log.push_back(std::to_string(id) + " complete " + url);
  }
  void NewWindow(int id, const std::string& url, bool& cancel) override {
    log.push_back(std::to_string(id) + " newwindow " + url);
    cancel = true;
  }
  std::vector<std::string> log;
};

class Calls : public ScriptObject {
 public:
  std::vector<std::string> Methods() const override { return {"JsCallClient", "Other"}; }
  void Call(std::string_view method, const ScriptArgs& args) override {
    std::string line(method);
    for (const ScriptValue& v : args) line += " " + DescribeScriptValue(v);
    log.push_back(line);
  }
  std::vector<std::string> log;
};

VARIANT Bstr(BSTR b) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = b;
  return v;
}

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};

TEST_F(BrowserTest, HandlerIdentityAndInterfaces) {
  CWebUIController controller;
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(controller.QueryInterface(IID_IOleObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);

  struct Case {
    IID iid;
    void* expected;
  } const cases[] = {
      {kDiidWebBrowserEvents2, static_cast<IDispatch*>(&controller)},
      {IID_IDispatch, static_cast<IDispatch*>(&controller)},
      {kIidDocHostUIHandler, static_cast<IDocHostUIHandler*>(&controller)},
      {IID_IUnknown, static_cast<IDocHostUIHandler*>(&controller)},
  };
  for (const Case& c : cases) {
    void* p = nullptr;
    EXPECT_EQ(controller.QueryInterface(c.iid, &p), S_OK);
    EXPECT_EQ(p, c.expected);
  }
  EXPECT_EQ(controller.refCount(), 4);
  // Release counts down but never frees the object that lives inside its browser.
  for (int i = 0; i < 5; ++i) controller.Release();
  EXPECT_EQ(controller.refCount(), -1);
}

TEST_F(BrowserTest, HandlerAnswers) {
  CWebUIController controller;
  EXPECT_EQ(controller.ShowContextMenu(0, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(controller.TranslateAccelerator(nullptr, nullptr, 0), E_NOTIMPL);
  EXPECT_EQ(controller.GetHostInfo(nullptr), S_OK);

  // No external object: window.external offers nothing.
  IDispatch* external = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(controller.GetExternal(&external), E_NOTIMPL);
  EXPECT_EQ(external, nullptr);

  ScriptObjectDispatch object;
  controller.externalObject = &object;
  EXPECT_EQ(controller.GetExternal(&external), S_OK);
  EXPECT_EQ(external, &object);
  EXPECT_EQ(object.Release(), 0u);  // the reference GetExternal added
}

TEST_F(BrowserTest, HostInfoFlagsFollowTheOptions) {
  struct Case {
    bool showBorder, showScrollbars;
    DWORD existing, expected;
  } const cases[] = {
      {true, true, 0, 0},
      {false, true, 0, DOCHOSTUIFLAG_NO3DBORDER},
      {false, false, 0, DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO},
      {false, false, DOCHOSTUIFLAG_DIALOG, DOCHOSTUIFLAG_DIALOG | 0xC},
  };
  for (const Case& c : cases) {
    CWebUIController controller;
    controller.options.showBorder = c.showBorder;
    controller.options.showScrollbars = c.showScrollbars;
    DOCHOSTUIINFO info = {sizeof(DOCHOSTUIINFO), c.existing, 7, nullptr, nullptr};
    EXPECT_EQ(controller.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, c.expected);
    EXPECT_EQ(info.dwDoubleClick, 7u);
  }
}

TEST_F(BrowserTest, HandlerEventSinkRefusesMalformedNavigateComplete) {
  CWebUIController controller;
  VARIANT args[2];
  ScopedBstr url(SysAllocString(L"http://x/"));
  args[0] = Bstr(url.get());
  VariantInit(&args[1]);
  DISPPARAMS params = {args, nullptr, 2, 0};
  DISPPARAMS one = {args, nullptr, 1, 0};
  EXPECT_EQ(controller.Invoke(kDispidNavigateComplete2, IID_NULL, 0, 0, nullptr, nullptr, nullptr,
                              nullptr), E_INVALIDARG);
  EXPECT_EQ(controller.Invoke(kDispidNavigateComplete2, IID_NULL, 0, 0, &one, nullptr, nullptr,
                              nullptr), E_INVALIDARG);
  // The browser object of the page or frame must be a dispatch pointer.
  EXPECT_EQ(controller.Invoke(kDispidNavigateComplete2, IID_NULL, 0, 0, &params, nullptr, nullptr,
                              nullptr), E_INVALIDARG);
  V_VT(&args[1]) = VT_DISPATCH;
  V_DISPATCH(&args[1]) = nullptr;
  EXPECT_EQ(controller.Invoke(kDispidNavigateComplete2, IID_NULL, 0, 0, &params, nullptr, nullptr,
                              nullptr), S_OK);
  // Other events are none of the handler's business.
  for (DISPID id : {kDispidBeforeNavigate2, kDispidDocumentComplete}) {
    EXPECT_EQ(controller.Invoke(id, IID_NULL, 0, 0, &one, nullptr, nullptr, nullptr), S_OK);
  }
}

TEST_F(BrowserTest, AttachBeforeTheControlExistsChangesNothing) {
  CWebBrowserEx browser;
  EXPECT_FALSE(browser.AttachUIHandler(false));
  EXPECT_TRUE(browser.controller().options.showBorder);
  EXPECT_TRUE(browser.controller().options.showScrollbars);
  EXPECT_FALSE(browser.Navigate("about:blank"));
}

TEST_F(BrowserTest, HostsTheControlAndConnectsOnce) {
  HostWindow window;
  Recorder events;
  CWebBrowserEx browser;
  ASSERT_TRUE(browser.Create("", WS_CHILD | WS_VISIBLE, kArea, window.get(), 150, &events));
  EXPECT_EQ(GetDlgCtrlID(browser.hwnd()), 150);
  EXPECT_EQ(GetParent(browser.hwnd()), window.get());
  IUnknown* control = browser.ControlUnknown();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(EventConnections(control), 1);  // the container's own sink

  // The site the control was given answers ambient property queries with "use your default".
  ComPtr<IOleObject> object;
  ComPtr<IOleClientSite> site;
  ComPtr<IDispatch> ambient;
  ASSERT_EQ(control->QueryInterface(IID_IOleObject, object.put_void()), S_OK);
  ASSERT_EQ(object->GetClientSite(site.put()), S_OK);
  ASSERT_EQ(site->QueryInterface(IID_IDispatch, ambient.put_void()), S_OK);
  for (DISPID id : {-5501, -5502, -5512, -709}) {
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(ambient->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                              nullptr), DISP_E_MEMBERNOTFOUND);
  }
  ambient.reset();
  site.reset();
  object.reset();

  // Keeping the scroll bars drops only the border.
  EXPECT_TRUE(browser.AttachUIHandler(true));
  EXPECT_FALSE(browser.controller().options.showBorder);
  EXPECT_TRUE(browser.controller().options.showScrollbars);
  EXPECT_EQ(EventConnections(control), 2);
  // Connecting the same browser again replaces the connection instead of adding one.
  EXPECT_TRUE(browser.AttachUIHandler(false));
  browser.controller().ConnectBrowser(browser.controller().browser());
  EXPECT_EQ(EventConnections(control), 2);
  EXPECT_FALSE(browser.controller().options.showScrollbars);

  // Events of the control reach the owner with the control id; the cancel flag works.
  EXPECT_TRUE(browser.Navigate("about:blank#blocked"));
  ASSERT_FALSE(events.log.empty());
  EXPECT_EQ(events.log.front(), "150 before about:blank#blocked");

  // Closing the control revokes the handler's connection and releases its browser.
  control->AddRef();
  browser.Destroy();
  EXPECT_EQ(browser.hwnd(), nullptr);
  EXPECT_EQ(browser.controller().browser(), nullptr);
  EXPECT_EQ(browser.controller().adviseCookie(), 0u);
  EXPECT_EQ(browser.ControlUnknown(), nullptr);
  control->Release();
}

TEST_F(BrowserTest, ContainerSinkPassesEventsAndCancelFlags) {
  Recorder events;
  BrowserEventSink sink;
  sink.SetTarget(&events, 151);
  ScopedBstr url(SysAllocString(L"http://127.0.0.1/blocked"));
  VARIANT urlVariant = Bstr(url.get());
  VARIANT_BOOL cancel = VARIANT_FALSE;

  // BeforeNavigate2: (browser, url, flags, frame, post data, headers, cancel), reversed.
  VARIANT before[7];
  for (VARIANT& v : before) VariantInit(&v);
  V_VT(&before[5]) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&before[5]) = &urlVariant;
  V_VT(&before[0]) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&before[0]) = &cancel;
  DISPPARAMS params = {before, nullptr, 7, 0};
  EXPECT_EQ(sink.Invoke(kDispidBeforeNavigate2, IID_NULL, 0, 0, &params, nullptr, nullptr,
                        nullptr), S_OK);
  EXPECT_EQ(cancel, VARIANT_TRUE);

  // NewWindow3: (out browser, cancel, flags, referrer, url), reversed.
  VARIANT popup[5];
  for (VARIANT& v : popup) VariantInit(&v);
  popup[0] = Bstr(url.get());
  VARIANT_BOOL popupCancel = VARIANT_FALSE;
  V_VT(&popup[3]) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&popup[3]) = &popupCancel;
  DISPPARAMS popupParams = {popup, nullptr, 5, 0};
  EXPECT_EQ(sink.Invoke(kDispidNewWindow3, IID_NULL, 0, 0, &popupParams, nullptr, nullptr,
                        nullptr), S_OK);
  EXPECT_EQ(popupCancel, VARIANT_TRUE);

  VARIANT done[2];
  VariantInit(&done[1]);
  done[0] = Bstr(url.get());
  DISPPARAMS doneParams = {done, nullptr, 2, 0};
  EXPECT_EQ(sink.Invoke(kDispidDocumentComplete, IID_NULL, 0, 0, &doneParams, nullptr, nullptr,
                        nullptr), S_OK);

  // Malformed events reach nobody: no cancel flag, wrong argument count.
  V_VT(&before[0]) = VT_EMPTY;
  EXPECT_EQ(sink.Invoke(kDispidBeforeNavigate2, IID_NULL, 0, 0, &params, nullptr, nullptr,
                        nullptr), E_INVALIDARG);
  DISPPARAMS shortParams = {before, nullptr, 3, 0};
  EXPECT_EQ(sink.Invoke(kDispidBeforeNavigate2, IID_NULL, 0, 0, &shortParams, nullptr, nullptr,
                        nullptr), E_INVALIDARG);

  const std::vector<std::string> expected = {"151 before http://127.0.0.1/blocked",
                                             "151 newwindow http://127.0.0.1/blocked",
                                             "151 complete http://127.0.0.1/blocked"};
  EXPECT_EQ(events.log, expected);
}

TEST_F(BrowserTest, ExternalObjectThroughDispatch) {
  Calls calls;
  ScriptObjectDispatch external;
  external.SetObject(&calls);

  struct NameCase {
    const wchar_t* name;
    HRESULT result;
    DISPID id;
  } const names[] = {
      {L"JsCallClient", S_OK, 100},
      {L"Other", S_OK, 101},
      {L"jscallclient", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
      {L"Missing", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
  };
  for (const NameCase& c : names) {
    std::wstring name = c.name;
    LPOLESTR list[] = {name.data()};
    DISPID id = 0;
    EXPECT_EQ(external.GetIDsOfNames(IID_NULL, list, 1, 0, &id), c.result);
    EXPECT_EQ(id, c.id);
  }

  // Arguments arrive in call order with their types; a named argument (as script engines pass
  // the `this` object) is not one of them.
  ScopedBstr text(SysAllocString(L"6"));
  VARIANT args[4];
  for (VARIANT& v : args) VariantInit(&v);
  V_VT(&args[0]) = VT_DISPATCH;  // named: this
  V_DISPATCH(&args[0]) = nullptr;
  V_VT(&args[1]) = VT_R8;
  V_R8(&args[1]) = 1.5;
  V_VT(&args[2]) = VT_I4;
  V_I4(&args[2]) = 7;
  args[3] = Bstr(text.get());
  DISPID named = -613;  // DISPID_THIS
  DISPPARAMS params = {args, &named, 4, 1};
  VARIANT result;
  EXPECT_EQ(external.Invoke(100, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(V_VT(&result), VT_EMPTY);
  // Reading the member as a property calls nothing; unknown ids are refused.
  EXPECT_EQ(external.Invoke(100, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &result, nullptr,
                            nullptr), S_OK);
  EXPECT_EQ(external.Invoke(102, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(calls.log, std::vector<std::string>{"JsCallClient \"6\" 7 1.5"});
}

TEST_F(BrowserTest, ReplacedExternalObjectIsNoLongerReached) {
  Calls calls;
  CWebBrowserEx browser;
  browser.SetExternal(&calls);
  IDispatch* external = nullptr;
  ASSERT_EQ(browser.controller().GetExternal(&external), S_OK);
  // The page keeps what it was given; the owner replaces the object.
  browser.SetExternal(nullptr);
  IDispatch* none = nullptr;
  EXPECT_EQ(browser.controller().GetExternal(&none), E_NOTIMPL);
  DISPPARAMS noArgs = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(external->Invoke(100, IID_NULL, 0, DISPATCH_METHOD, &noArgs, nullptr, nullptr,
                             nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_TRUE(calls.log.empty());
  external->Release();
}

TEST_F(BrowserTest, GbkTextRoundTrip) {
  // Wine runs these tests with code page 936: "标题" is B1EA CCE2 there.
  const std::string gbk = "\xB1\xEA\xCC\xE2";
  ScopedBstr b(BstrFromAnsi(gbk));
  ASSERT_NE(b.get(), nullptr);
  EXPECT_EQ(std::wstring(b.get()), L"\u6807\u9898");
  EXPECT_EQ(AnsiFromBstr(b.get()), gbk);
}

}  // namespace
}  // namespace mc::win32
