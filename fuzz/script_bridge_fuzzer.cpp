// Calls of window.external.JsCallClient with arguments of any kind and content, decoded as the
// ports deliver them and dispatched to a real game window: only codes 1 and 2 end it (2 also
// starts the program again), only code 4 with a clean web address replaces the recharge link,
// only code 6 changes the title, which stays within its field; an ended window ignores every
// call.
// The texts the client sends back to pages (argument pieces, script literals) stay well formed.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "browser/page_script.h"
#include "browser/script_value.h"
#include "browser/web_address.h"
#include "fuzz_check.h"
#include "game/game_window.h"
#include "game/script_bridge.h"
#include "package/config_record.h"
#include "package/ini_document.h"

namespace {

using mc::BridgeArg;
using mc::BridgeCommand;

// A game window with a recharge button (type 12) between two others.
constexpr char kConfig[] =
    "[global]\ntitle=Star\nlinkCount=1\npicCount=1\ngameButtonCount=3\n"
    "[link1]\nurl=http://127.0.0.1/\n[gamePic1]\nx=0\ny=0\nwidth=4\nheight=4\n"
    "[gameButton1]\ntype=5\nimage=1\nx=-10\n"
    "[gameButton2]\ntype=12\nimage=1\nx=-30\nurl=http://pay.test/\n"
    "[gameButton3]\ntype=12\nimage=1\nx=-50\nurl=http://second.test/\n";

const mc::ConfigRecord& Config() {
  static const mc::ConfigRecord config = [] {
    mc::IniDocument ini;
    FUZZ_CHECK(ini.Load(kConfig, sizeof kConfig - 1));
    mc::ConfigRecord record;
    FUZZ_CHECK(mc::ParseConfig(ini, [] { return std::string("0123456789AB"); }, record));
    return record;
  }();
  return config;
}

// Every part can be made; the page's effects are counted.
class Host : public mc::GameWindowHost {
 public:
  int ended = 0, started = 0, links = 0, redraws = 0;
  size_t linkSlot = 0;
  std::string link;

  mc::GameRect WorkArea() override { return {0, 0, 1024, 768}; }
  mc::GameRect MonitorRect() override { return {0, 0, 1024, 768}; }
  mc::GameRect WindowRect() override { return window_; }
  mc::GameRect NormalWindowRect() override { return window_; }
  mc::GameRect ClientRectOnScreen() override { return window_; }
  mc::GamePoint CursorPosition() override { return {}; }
  std::string ProgramPath() override { return "/games/client"; }
  void SetWindowText(const std::string&) override {}
  bool LoadSprite() override { return true; }
  bool CutEdgePiece(mc::EdgePiece, const mc::SpriteCut&) override { return true; }
  void ReleaseSprite() override {}
  bool CreateBrowser(const mc::GameRect&) override { return true; }
  void StartBrowser(const std::string&) override {}
  bool CreateTitleButton(const mc::TitleButtonSetup&) override { return true; }
  bool CreateLogo(mc::GamePoint, mc::GameSize& size) override {
    size = {10, 10};
    return true;
  }
  void ShowInTaskbar() override {}
  void MoveWindow(const mc::GameRect& rect) override { window_ = rect; }
  void PlaceWindow(const mc::GameRect& rect, mc::GameWindowState) override { window_ = rect; }
  void HideWhilePlacing() override {}
  void HideWindow() override {}
  void ShowWindow() override {}
  void MinimizeWindow() override {}
  void InvalidateWindow() override {}
  void BeginSizing(int, mc::GamePoint) override {}
  void MoveBrowser(const mc::GameRect&) override {}
  void RedrawBrowser() override { ++redraws; }
  void MoveButton(size_t, const mc::GameRect&) override {}
  void SetButtonVisible(size_t, bool) override {}
  mc::GameRect ButtonRectOnScreen(size_t) override { return {}; }
  void SetButtonLink(size_t slot, const std::string& url) override {
    ++links;
    linkSlot = slot;
    link = url;
  }
  void SetLogoVisible(bool) override {}
  bool AskOkCancel(const std::string&, const std::string&) override { return false; }
  void PopupMenu(const std::vector<mc::MenuItem>&, mc::GamePoint) override {}
  bool AddTrayIcon(const mc::TrayIconSetup&) override { return false; }
  void RemoveTrayIcon() override {}
  void CleanBrowserCache() override {}
  void StartProgram() override { ++started; }
  void CallPage(const mc::PageCall&) override {}
  void EndDialog() override { ++ended; }

 private:
  mc::GameRect window_{0, 0, 800, 600};
};

// The input as a list of arguments: a kind byte, then what that kind needs.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::string Text() {
    const size_t length = std::min<size_t>(Byte() | size_t{Byte()} << 8, size_ - pos_);
    std::string text(reinterpret_cast<const char*>(data_) + pos_, length);
    pos_ += length;
    return text;
  }
  double Real() {
    uint8_t bytes[8] = {};
    for (uint8_t& b : bytes) b = Byte();
    double d;
    std::memcpy(&d, bytes, sizeof d);
    return d;
  }
  uint32_t Word() { return Byte() | uint32_t{Byte()} << 8 | uint32_t{Byte()} << 16 | uint32_t{Byte()} << 24; }

 private:
  const uint8_t* data_;
  size_t size_, pos_ = 0;
};

// Script values go through the conversion the Linux port uses; the machine-integer kinds only
// come from the Windows page as they are.
std::vector<BridgeArg> Arguments(Reader& in) {
  std::vector<BridgeArg> args;
  while (!in.done() && args.size() < 12) {
    switch (in.Byte() % 10) {
      case 0: args.push_back(mc::BridgeArgFromScriptValue(mc::ScriptValue::Undefined())); break;
      case 1: args.push_back(mc::BridgeArgFromScriptValue(mc::ScriptValue::Null())); break;
      case 2: args.push_back(mc::BridgeArgFromScriptValue(mc::ScriptValue::Boolean(in.Byte() & 1))); break;
      case 3: args.push_back(mc::BridgeArgFromScriptValue(mc::ScriptValue::Number(in.Real()))); break;
      case 4: args.push_back(mc::BridgeArgFromScriptValue(mc::ScriptValue::String(in.Text()))); break;
      case 5: args.push_back(mc::BridgeArgFromScriptValue(mc::ScriptValue::Object())); break;
      case 6: args.push_back(mc::BridgeArgFromScriptValue(mc::ScriptValue::Number(static_cast<int8_t>(in.Byte())))); break;
      case 7: args.push_back(BridgeArg::String(std::string(1, static_cast<char>('0' + in.Byte() % 10)))); break;
      case 8: args.push_back(BridgeArg::Int(static_cast<int32_t>(in.Word()))); break;
      default: args.push_back(BridgeArg::UInt(in.Word())); break;
    }
  }
  return args;
}

std::string CString(const std::string& text) { return text.substr(0, text.find('\0')); }

void CheckCommand(const std::vector<BridgeArg>& args, const BridgeCommand& command) {
  const int32_t code = args.empty() ? 0 : mc::BridgeCommandCode(args.front());
  using K = BridgeCommand::Kind;
  FUZZ_CHECK((command.kind == K::kEndWindow) == (code == 1));
  FUZZ_CHECK((command.kind == K::kRestart) == (code == 2));
  if (command.kind == K::kSetRechargeLink) FUZZ_CHECK(code == 4 && mc::IsCleanWebAddress(command.value));
  if (command.kind == K::kSetTitle) FUZZ_CHECK(code == 6);
  if (command.kind == K::kSetRechargeLink || command.kind == K::kSetTitle) {
    const BridgeArg& value = args[args.size() - 2];
    FUZZ_CHECK(value.kind == BridgeArg::Kind::kString && command.value == CString(value.text));
    FUZZ_CHECK(command.value.size() < mc::kBridgeValueField);
  } else {
    FUZZ_CHECK(command.value.empty());
  }
}

void CheckWindow(const std::vector<BridgeArg>& args, const BridgeCommand& command) {
  Host host;
  mc::GameWindow window(Config(), host, '/');
  window.SetGameUrl("http://game.test/");
  FUZZ_CHECK(window.Initialize() == mc::GameInitStop::kNone);
  const std::string titleBefore = window.titleText().value_or("");
  window.OnJsCallClient(args);

  using K = BridgeCommand::Kind;
  const bool ends = command.kind == K::kEndWindow || command.kind == K::kRestart;
  FUZZ_CHECK(host.ended == (ends ? 1 : 0));
  FUZZ_CHECK(host.started == (command.kind == K::kRestart ? 1 : 0));
  FUZZ_CHECK(host.links == (command.kind == K::kSetRechargeLink ? 1 : 0));
  if (host.links) {
    // The first recharge button, which is the second button made.
    FUZZ_CHECK(host.linkSlot == 1 && host.link == command.value);
    FUZZ_CHECK(window.button(1).link == command.value);
    FUZZ_CHECK(window.button(2).link == "http://second.test/");
  }
  if (command.kind == K::kSetTitle) {
    FUZZ_CHECK(window.titleText() == mc::PageTitle(Config().title, command.value));
    FUZZ_CHECK(window.titleText()->size() < mc::kTitleTextField);
  } else {
    FUZZ_CHECK(window.titleText().value_or("") == titleBefore);
  }

  // Once ended, the window does nothing more for the page.
  if (ends) {
    const int ended = host.ended, started = host.started;
    window.OnJsCallClient(args);
    FUZZ_CHECK(host.ended == ended && host.started == started);
  }
}

bool ValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

// A literal is one double-quoted token: no raw quote, line break, control character or '<'
// inside, and every backslash starts an escape.
void CheckLiteral(const std::string& text) {
  const std::string literal = mc::ScriptStringLiteral(text);
  FUZZ_CHECK(literal.size() >= 2 && literal.front() == '"' && literal.back() == '"');
  FUZZ_CHECK(ValidUtf8(literal));
  const std::string_view body(literal.data() + 1, literal.size() - 2);
  for (size_t i = 0; i < body.size(); ++i) {
    const auto c = static_cast<unsigned char>(body[i]);
    FUZZ_CHECK(c >= 0x20 && c != 0x7F && c != '"' && c != '<');
    if (c == '\\') {
      FUZZ_CHECK(i + 1 < body.size());
      ++i;
    }
    FUZZ_CHECK(body.substr(i, 3) != "\xE2\x80\xA8" && body.substr(i, 3) != "\xE2\x80\xA9");
  }
}

void CheckPieces(const std::string& text) {
  const std::vector<std::string> pieces = mc::SplitScriptArguments(text);
  FUZZ_CHECK(pieces.size() <= mc::kMaxScriptArguments);
  size_t at = 0;
  for (const std::string& piece : pieces) {
    FUZZ_CHECK(!piece.empty() && piece.find(',') == std::string::npos);
    at = text.find(piece, at);  // pieces come in order, from the text itself
    FUZZ_CHECK(at != std::string::npos);
    at += piece.size();
  }
  const std::string body = mc::FunctionCallBody(text, pieces.size());
  FUZZ_CHECK(body.empty() != mc::IsScriptIdentifier(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  const std::vector<BridgeArg> args = Arguments(in);
  const BridgeCommand command = mc::DispatchJsCall(args);
  CheckCommand(args, command);
  CheckWindow(args, command);
  for (const BridgeArg& arg : args) {
    if (arg.kind != BridgeArg::Kind::kString) continue;
    CheckLiteral(arg.text);
    CheckPieces(arg.text);
  }
  return 0;
}
