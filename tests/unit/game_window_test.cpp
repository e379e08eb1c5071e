#include "game/game_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/own_program.h"

namespace mc {
namespace {

std::string Str(const GameRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// A window that records every native call and moves like a real one.
class FakeHost : public GameWindowHost {
 public:
  std::vector<std::string> log;
  GameRect workArea{0, 0, 1920, 1040};
  GameRect monitor{0, 0, 1920, 1080};
  GameRect window{300, 200, 700, 500};
  GamePoint cursor{1800, 1060};
  std::string programPath = "C:\\Games\\sea.exe";
  bool spriteLoads = true, browserCreated = true, logoLoads = true, trayWorks = true;
  int buttonThatFails = -1;
  bool answer = false;
  std::vector<std::pair<std::string, std::string>> questions;  // text, caption
  std::function<void()> duringQuestion;  // runs while a question is open (its message loop)
  std::map<size_t, bool> buttonVisible;
  bool logoVisible = true;
  bool visible = true;
  std::vector<PageCall> pageCalls;
  std::vector<MenuItem> lastMenu;
  GamePoint lastMenuAt;

  GameRect WorkArea() override { return workArea; }
  GameRect MonitorRect() override { return monitor; }
  GameRect WindowRect() override { return window; }
  GameRect NormalWindowRect() override { return window; }
  GameRect ClientRectOnScreen() override { return window; }
  GamePoint CursorPosition() override { return cursor; }
  std::string ProgramPath() override { return programPath; }

  void SetWindowText(const std::string& text) override { Log("SetWindowText " + text); }
  bool LoadSprite() override { return Log("LoadSprite"), spriteLoads; }
  bool CutEdgePiece(EdgePiece piece, const SpriteCut&) override {
    return Log("CutEdgePiece " + std::to_string(static_cast<int>(piece))), true;
  }
  void ReleaseSprite() override { Log("ReleaseSprite"); }
  bool CreateBrowser(const GameRect& r) override {
    return Log("CreateBrowser " + Str(r)), browserCreated;
  }
  void StartBrowser(const std::string& url) override { Log("StartBrowser " + url); }
  bool CreateTitleButton(const TitleButtonSetup& setup) override {
    Log("CreateTitleButton " + std::to_string(setup.commandId));
    return buttonThatFails != static_cast<int>(buttonsMade_++);
  }
  bool CreateLogo(GamePoint at, GameSize& size) override {
    Log("CreateLogo " + std::to_string(at.x) + "," + std::to_string(at.y));
    size = {20, 21};
    return logoLoads;
  }
  void ShowInTaskbar() override { Log("ShowInTaskbar"); }

  void MoveWindow(const GameRect& r) override { Log("MoveWindow " + Str(r)), window = r; }
  void PlaceWindow(const GameRect& r, GameWindowState state) override {
    static const char* const names[] = {"restored", "maximized", "full"};
    Log("PlaceWindow " + Str(r) + " " + names[static_cast<int>(state)]);
    window = r;
    visible = true;
  }
  void HideWhilePlacing() override { Log("HideWhilePlacing"); }
  void HideWindow() override { Log("HideWindow"), visible = false; }
  void ShowWindow() override { Log("ShowWindow"), visible = true; }
  void MinimizeWindow() override { Log("MinimizeWindow"); }
  void InvalidateWindow() override { Log("InvalidateWindow"); }
  void BeginSizing(int edge, GamePoint) override { Log("BeginSizing " + std::to_string(edge)); }

  void MoveBrowser(const GameRect& r) override { Log("MoveBrowser " + Str(r)); }
  void RedrawBrowser() override { Log("RedrawBrowser"); }
  void MoveButton(size_t slot, const GameRect& r) override {
    Log("MoveButton " + std::to_string(slot) + " " + Str(r));
  }
  void SetButtonVisible(size_t slot, bool shown) override { buttonVisible[slot] = shown; }
  GameRect ButtonRectOnScreen(size_t) override { return {500, 10, 546, 31}; }
  void SetButtonLink(size_t slot, const std::string& url) override {
    Log("SetButtonLink " + std::to_string(slot) + " " + url);
  }
  void SetLogoVisible(bool shown) override { logoVisible = shown; }

  bool AskOkCancel(const std::string& text, const std::string& caption) override {
    Log("Ask");
    questions.emplace_back(text, caption);
    if (duringQuestion) duringQuestion();
    return answer;
  }
  void PopupMenu(const std::vector<MenuItem>& items, GamePoint at) override {
    Log("PopupMenu");
    lastMenu = items;
    lastMenuAt = at;
  }
  bool AddTrayIcon(const TrayIconSetup& icon) override {
    return Log("AddTrayIcon " + icon.tip), trayWorks;
  }
  void RemoveTrayIcon() override { Log("RemoveTrayIcon"); }
  void CleanBrowserCache() override { Log("CleanBrowserCache"); }
  void StartProgram() override { Log("StartProgram"); }
  void CallPage(const PageCall& call) override { pageCalls.push_back(call); }
  void EndDialog() override { Log("EndDialog"); }
  void FullScreenChanged(bool on) override { Log(std::string("FullScreenChanged ") + (on ? "on" : "off")); }

  bool Has(const std::string& entry) const {
    return std::find(log.begin(), log.end(), entry) != log.end();
  }
  size_t Count(const std::string& entry) const {
    return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
  }
  // True when the entries appear in this order (others may lie between them).
  bool InOrder(const std::vector<std::string>& entries) const {
    auto at = log.begin();
    for (const std::string& entry : entries) {
      at = std::find(at, log.end(), entry);
      if (at == log.end()) return false;
      ++at;
    }
    return true;
  }
  bool AnyStartsWith(const std::string& prefix) const {
    return std::any_of(log.begin(), log.end(),
                       [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
  }

 private:
  void Log(std::string entry) { log.push_back(std::move(entry)); }
  size_t buttonsMade_ = 0;
};

GameButtonEntry Button(int32_t type, int32_t x, int32_t y, int32_t image, int32_t shortCut = 0,
                       std::string url = {}) {
  GameButtonEntry entry;
  entry.type = type;
  entry.x = x;
  entry.y = y;
  entry.image = image;
  entry.shortCut = shortCut;
  entry.url = std::move(url);
  return entry;
}

// Laid out like the sample deployment.
ConfigRecord SampleConfig() {
  ConfigRecord c;
  c.title = "\xd0\xc7\xba\xa3";
  c.version = "1.30";
  c.closeMsg = "close?";
  c.notityTitle = "tray tip";
  c.notifyCloseTitle = "quit";
  c.clearFlashTitle = "clean";
  c.clearFlashMsg = "clean cache?";
  c.minGameWidth = 960;
  c.minGameHeight = 640;
  c.titleColor = 16777215;
  c.logx = 8;
  c.logy = 3;
  c.titlex = 34;
  c.titley = 7;
  c.gamePics = {{0, 0, 28, 22, 2},   {30, 0, 28, 22, 2},  {60, 0, 28, 22, 2},
                {90, 0, 28, 22, 2},  {120, 0, 28, 22, 2}, {150, 0, 46, 21, 2},
                {198, 0, 42, 21, 2}, {242, 0, 42, 21, 2},  // buttons 1-8
                {0, 74, 6, 27, 0},   {8, 74, 58, 27, 0},  {68, 74, 6, 27, 0},
                {76, 74, 3, 2, 0},   {81, 74, 3, 2, 0},   {86, 74, 4, 5, 0},
                {92, 74, 2, 3, 0},   {96, 74, 4, 5, 0}};  // frame 9-16
  c.edgeImages = {9, 10, 11, 12, 13, 14, 15, 16};
  c.gameButtons = {Button(5, -28, 0, 1),
                   Button(6, -56, 0, 2),
                   Button(10, -56, 0, 3),
                   Button(7, -84, 0, 4),
                   Button(8, -112, 0, 5, 9),
                   Button(11, -161, 3, 6),
                   Button(1, -205, 3, 7, 0, "http://127.0.0.1/home"),
                   Button(12, -293, 3, 8, 0, "http://127.0.0.1/pay")};
  c.menus = {{"restart", 1, 5}, {"clean", 2, 0}, {"full", 3, 10}, {"version ", 4, 0}};
  return c;
}

// Slots of the sample buttons, in configuration order.
constexpr size_t kMaxSlot = 1, kRestoreSlot = 2, kRechargeSlot = 7;

struct Fixture {
  explicit Fixture(ConfigRecord c = SampleConfig()) : config(std::move(c)) {
    window.SetGameUrl("http://127.0.0.1/game");
  }
  GameInitStop Start() {
    const GameInitStop stop = window.Initialize();
    host.log.clear();
    return stop;
  }
  ConfigRecord config;
  FakeHost host;
  GameWindow window{config, host, '\\'};
};

TEST(GameWindow, InitialisationMakesItsPartsInOrderThenMaximises) {
  Fixture f;
  f.config.edgeImages[6] = 99;  // no such picture: the bottom piece is not cut
  ASSERT_EQ(f.window.Initialize(), GameInitStop::kNone);
  EXPECT_TRUE(f.host.InOrder(
      {"MoveWindow 0,0,1920,1040", "SetWindowText \xd0\xc7\xba\xa3", "LoadSprite", "CutEdgePiece 1",
       "CutEdgePiece 6", "CutEdgePiece 8", "CreateBrowser 3,27,1917,1040",
       "StartBrowser http://127.0.0.1/game", "CreateTitleButton 185", "CreateTitleButton 192",
       "ReleaseSprite", "CreateLogo 8,3", "ShowInTaskbar", "PlaceWindow 0,0,1920,1040 maximized",
       "MoveButton 0 1892,0,1920,22", "MoveBrowser 0,27,1920,1040", "InvalidateWindow"}));
  EXPECT_FALSE(f.host.Has("CutEdgePiece 7"));
  EXPECT_EQ(f.window.edges().H(EdgePiece::kBottom), 0);
  EXPECT_EQ(f.window.state(), GameWindowState::kMaximized);
  EXPECT_EQ(f.window.minTrackSize(), (GameSize{960, 640}));
  EXPECT_FALSE(f.host.buttonVisible[kMaxSlot]);
  EXPECT_TRUE(f.host.buttonVisible[kRestoreSlot]);
  EXPECT_EQ(f.window.LogoRect(), (GameRect{8, 3, 28, 24}));
  const GamePaintPlan plan = f.window.PaintPlan(false, {1920, 1040}, {32, 32});
  ASSERT_TRUE(plan.title);
  EXPECT_EQ(*plan.title, (TitlePaint{{34, 7}, 16777215, "\xd0\xc7\xba\xa3"}));
}

TEST(GameWindow, AWindowWhoseInitialisationStoppedStillWorks) {
  struct Case {
    const char* name;
    void (*breakIt)(FakeHost&);
    GameInitStop stop;
    size_t buttons;
    bool spriteReleased;
  } const cases[] = {
      {"sprite", [](FakeHost& h) { h.spriteLoads = false; }, GameInitStop::kSprite, 0, false},
      {"browser", [](FakeHost& h) { h.browserCreated = false; }, GameInitStop::kBrowser, 0, true},
      {"button", [](FakeHost& h) { h.buttonThatFails = 3; }, GameInitStop::kButtons, 3, true},
      {"logo", [](FakeHost& h) { h.logoLoads = false; }, GameInitStop::kLogo, 8, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    c.breakIt(f.host);
    EXPECT_EQ(f.window.Initialize(), c.stop);
    EXPECT_EQ(f.window.buttonCount(), c.buttons);
    EXPECT_EQ(f.host.Has("ReleaseSprite"), c.spriteReleased);
    EXPECT_EQ(f.host.Has("CreateLogo 8,3"), c.stop == GameInitStop::kLogo);
    EXPECT_FALSE(f.window.initialized());
    EXPECT_EQ(f.window.state(), GameWindowState::kRestored);  // never maximised
    EXPECT_EQ(f.host.window, f.host.workArea);
    EXPECT_FALSE(f.window.functionKeys());
    // Paints what exists, but no title that was never set.
    EXPECT_FALSE(f.window.PaintPlan(false, {1920, 1040}, {32, 32}).title);
    // Sizing lays nothing out; keys run nothing yet are kept from the page.
    f.host.log.clear();
    f.window.OnSize(false);
    EXPECT_TRUE(f.host.log.empty());
    EXPECT_EQ(f.window.FilterInput(InputEvent::KeyDown(kKeyF1 + 8)), InputRoute::kConsumed);
    EXPECT_TRUE(f.host.log.empty());
    // It can still be closed.
    f.host.answer = true;
    EXPECT_TRUE(f.window.OnCommand(kCommandCancel));
    EXPECT_TRUE(f.host.InOrder({"Ask", "EndDialog"}));
  }
}

TEST(GameWindow, RestoreAlwaysReturnsToTheFirstRestoredRectangle) {
  Fixture f;
  f.Start();
  f.window.Run(GameCommand::kRestore);
  const GameRect first{480, 200, 1440, 840};
  EXPECT_EQ(f.host.window, first);
  EXPECT_EQ(f.window.state(), GameWindowState::kRestored);
  EXPECT_TRUE(f.host.buttonVisible[kMaxSlot]);
  EXPECT_FALSE(f.host.buttonVisible[kRestoreSlot]);
  // Drag the window by its title band.
  EXPECT_TRUE(f.window.OnMouseMove({100, 10}, false));
  EXPECT_FALSE(f.window.OnMouseMove({130, 20}, true));
  EXPECT_EQ(f.host.window, (GameRect{510, 210, 1470, 850}));
  // A double-click on the title band maximises, another restores to the first rectangle.
  const auto doubleClick = [&] {
    return f.window.FilterInput(
        InputEvent::Mouse(InputEvent::Kind::kLeftDoubleClick, {900, f.host.window.top + 5}));
  };
  EXPECT_EQ(doubleClick(), InputRoute::kConsumed);
  EXPECT_EQ(f.host.window, f.host.workArea);
  EXPECT_TRUE(f.window.OnMouseMove({200, 10}, true));  // no drag when maximised
  f.host.workArea = {0, 0, 1280, 1000};                // not looked at again
  EXPECT_EQ(doubleClick(), InputRoute::kConsumed);
  EXPECT_EQ(f.host.window, first);
}

TEST(GameWindow, RestoredRectangleKeepsTheConfiguredSizeOnASmallWorkArea) {
  Fixture f;
  f.host.workArea = {0, 0, 800, 600};
  f.Start();
  EXPECT_EQ(f.window.minTrackSize(), (GameSize{800, 600}));
  f.window.Run(GameCommand::kRestore);
  EXPECT_EQ(f.host.window, (GameRect{0, 0, 960, 640}));
  GameRect proposed{100, 100, 300, 300};
  f.window.OnSizing(proposed);
  EXPECT_EQ(proposed, (GameRect{100, 100, 900, 700}));
}

TEST(GameWindow, FullScreenCoversTheScreenAndReturnsToThePreviousState) {
  for (bool fromMaximized : {true, false}) {
    SCOPED_TRACE(fromMaximized ? "from maximised" : "from restored");
    Fixture f;
    f.Start();
    if (!fromMaximized) f.window.Run(GameCommand::kRestore);
    const GameRect before = f.host.window;
    f.host.log.clear();

    f.window.Run(GameCommand::kToggleFullScreen);
    EXPECT_EQ(f.window.state(), GameWindowState::kFullScreen);
    EXPECT_TRUE(f.host.InOrder({"MoveBrowser 0,0,1920,1080", "HideWhilePlacing",
                                "PlaceWindow 0,0,1920,1080 full", "FullScreenChanged on"}));
    for (size_t slot = 0; slot < f.window.buttonCount(); ++slot)
      EXPECT_FALSE(f.host.buttonVisible[slot]);
    EXPECT_FALSE(f.host.logoVisible);
    EXPECT_EQ(f.window.OnNcHitTest({0, 0}), HitCode::kClient);
    EXPECT_EQ(f.window.PaintPlan(false, {1920, 1080}, {32, 32}).kind,
              GamePaintPlan::Kind::kNothing);
    // A size change in full screen keeps the browser over the whole screen.
    f.host.log.clear();
    f.window.OnSize(false);
    EXPECT_FALSE(f.host.AnyStartsWith("MoveBrowser"));
    EXPECT_TRUE(f.host.Has("RedrawBrowser"));

    f.window.Run(GameCommand::kToggleFullScreen);
    EXPECT_EQ(f.host.window, before);
    EXPECT_EQ(f.window.maximized(), fromMaximized);
    EXPECT_EQ(f.host.buttonVisible[kMaxSlot], !fromMaximized);
    EXPECT_EQ(f.host.buttonVisible[kRestoreSlot], fromMaximized);
    EXPECT_TRUE(f.host.buttonVisible[0]);
    EXPECT_TRUE(f.host.logoVisible);
    EXPECT_TRUE(f.host.InOrder({"InvalidateWindow", "FullScreenChanged off"}));  // laid out again
    EXPECT_EQ(f.host.log.back(), "FullScreenChanged off");
  }
}

TEST(GameWindow, MaximiseOrRestoreInFullScreenLeavesFullScreenIntoThatState) {
  Fixture f;
  f.Start();
  f.window.Run(GameCommand::kRestore);
  f.window.Run(GameCommand::kToggleFullScreen);
  f.window.Run(GameCommand::kMaximize);
  EXPECT_EQ(f.window.state(), GameWindowState::kMaximized);
  EXPECT_EQ(f.host.window, f.host.workArea);
  EXPECT_TRUE(f.host.buttonVisible[0]);
  EXPECT_FALSE(f.host.buttonVisible[kMaxSlot]);
  f.window.Run(GameCommand::kToggleFullScreen);
  f.window.Run(GameCommand::kRestore);
  EXPECT_EQ(f.window.state(), GameWindowState::kRestored);
  EXPECT_EQ(f.host.window, (GameRect{480, 200, 1440, 840}));
}

TEST(GameWindow, EveryStateUsesTheMonitorHoldingTheWindow) {
  Fixture f;
  f.Start();
  f.window.Run(GameCommand::kRestore);
  const GameRect firstRestored{480, 200, 1440, 840};
  ASSERT_EQ(f.host.window, firstRestored);
  // The player drags the window onto a smaller monitor right of the first one.
  const GameRect first = f.host.monitor, firstArea = f.host.workArea;
  f.host.monitor = {1920, 0, 3200, 1024};
  f.host.workArea = {1920, 0, 3200, 994};
  f.host.window = {2000, 100, 2960, 740};
  f.window.Run(GameCommand::kMaximize);
  EXPECT_EQ(f.host.window, f.host.workArea);
  f.window.Run(GameCommand::kRestore);
  const GameRect secondRestored{2080, 177, 3040, 817};  // centred in a box at its corner
  EXPECT_EQ(f.host.window, secondRestored);
  f.window.Run(GameCommand::kToggleFullScreen);
  EXPECT_EQ(f.host.window, f.host.monitor);
  f.window.Run(GameCommand::kToggleFullScreen);
  EXPECT_EQ(f.host.window, secondRestored);
  // Back on the first monitor, the first monitor's rectangle again.
  f.host.monitor = first;
  f.host.workArea = firstArea;
  f.window.Run(GameCommand::kMaximize);
  f.window.Run(GameCommand::kRestore);
  EXPECT_EQ(f.host.window, firstRestored);
}

TEST(GameWindow, AfterAMonitorChangeTheWindowIsOnAMonitorAgain) {
  struct Case {
    const char* name;
    void (*setUp)(Fixture&);
    std::vector<std::string> calls;
  } const cases[] = {
      {"maximised on a monitor that went away",
       [](Fixture& f) { f.host.window = {1920, 0, 3200, 994}; },
       {"PlaceWindow 0,0,1920,1040 maximized"}},
      {"maximised on a monitor that stayed", [](Fixture&) {}, {}},
      {"full screen on a monitor that went away",
       [](Fixture& f) {
         f.window.Run(GameCommand::kToggleFullScreen);
         f.host.window = {1920, 0, 3200, 1024};
       },
       {"MoveBrowser 0,0,1920,1080", "PlaceWindow 0,0,1920,1080 full"}},
      {"restored, off every monitor",
       [](Fixture& f) {
         f.window.Run(GameCommand::kRestore);
         f.host.window = {2100, 100, 3060, 740};
       },
       {"MoveWindow 960,100,1920,740"}},
      {"restored, still partly on its monitor",
       [](Fixture& f) {
         f.window.Run(GameCommand::kRestore);
         f.host.window = {1900, 100, 2860, 740};
       },
       {}},
      {"maximised but hidden to the tray",
       [](Fixture& f) {
         f.window.Run(GameCommand::kHideToTray);
         f.host.window = {1920, 0, 3200, 994};
       },
       {}},
      {"no monitor reported",
       [](Fixture& f) {
         f.host.monitor = {};
         f.host.window = {1920, 0, 3200, 994};
       },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.Start();
    c.setUp(f);
    f.host.log.clear();
    f.window.OnMonitorsChanged();
    EXPECT_EQ(f.host.log, c.calls);
  }
}

TEST(GameWindow, ADesktopWithoutMonitorsGivesTheConfiguredSize) {
  Fixture f;
  f.host.workArea = {};
  f.host.monitor = {};
  ASSERT_EQ(f.window.Initialize(), GameInitStop::kNone);
  EXPECT_EQ(f.host.log.front(), "MoveWindow 0,0,960,640");
  EXPECT_TRUE(f.host.Has("PlaceWindow 0,0,960,640 maximized"));
  EXPECT_EQ(f.window.minTrackSize(), (GameSize{960, 640}));
  f.window.Run(GameCommand::kToggleFullScreen);
  EXPECT_EQ(f.host.window, (GameRect{0, 0, 960, 640}));
}

TEST(GameWindow, MessageFilterRoutesKeysAndMouseButtons) {
  struct Case {
    const char* name;
    InputEvent event;
    InputRoute route;
    std::vector<std::string> calls;  // native calls the event causes
    std::vector<PageCall> pageCalls;
  } const cases[] = {
      {"Enter", InputEvent::KeyDown(kKeyReturn), InputRoute::kDispatch, {}, {}},
      {"Escape", InputEvent::KeyDown(kKeyEscape), InputRoute::kDispatch, {}, {}},
      {"letter", InputEvent::KeyDown('A'), InputRoute::kDialog, {}, {}},
      {"bound F9 hides",
       InputEvent::KeyDown(kKeyF1 + 8),
       InputRoute::kConsumed,
       {"AddTrayIcon tray tip", "HideWindow"},
       {}},
      {"unbound F2", InputEvent::KeyDown(kKeyF1 + 1), InputRoute::kConsumed, {}, {}},
      {"bound F5 asks to restart",
       InputEvent::KeyDown(kKeyF1 + 4),
       InputRoute::kConsumed,
       {"Ask"},
       {}},
      {"F10 arrives as a system key",
       InputEvent::SysKeyDown(kKeyF1 + 9, false),
       InputRoute::kConsumed,
       {"MoveBrowser 0,0,1920,1080", "HideWhilePlacing", "PlaceWindow 0,0,1920,1080 full",
        "FullScreenChanged on"},
       {}},
      {"Alt+F4 is the system's",
       InputEvent::SysKeyDown(kKeyF1 + 3, true),
       InputRoute::kDialog,
       {},
       {}},
      {"right down",
       InputEvent::Mouse(InputEvent::Kind::kRightButtonDown, {100, 200}),
       InputRoute::kConsumed,
       {},
       {{"ClientCallJs", {"2", "100", "200"}}}},
      {"right up",
       InputEvent::Mouse(InputEvent::Kind::kRightButtonUp, {-5, 0}),
       InputRoute::kConsumed,
       {},
       {{"ClientCallJs", {"3", "-5", "0"}}}},
      {"right down above the screen",
       InputEvent::Mouse(InputEvent::Kind::kRightButtonDown, {100, -1}),
       InputRoute::kConsumed,
       {},
       {}},
      {"double-click in the band",
       InputEvent::Mouse(InputEvent::Kind::kLeftDoubleClick, {5, 26}),
       InputRoute::kConsumed,
       {"MoveWindow 480,200,1440,840"},
       {}},
      {"double-click on its top line",
       InputEvent::Mouse(InputEvent::Kind::kLeftDoubleClick, {5, 0}),
       InputRoute::kDialog,
       {},
       {}},
      {"double-click below the band",
       InputEvent::Mouse(InputEvent::Kind::kLeftDoubleClick, {5, 27}),
       InputRoute::kDialog,
       {},
       {}},
      {"anything else", InputEvent{}, InputRoute::kDialog, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.Start();
    EXPECT_EQ(f.window.FilterInput(c.event), c.route);
    EXPECT_EQ(f.host.log, c.calls);
    EXPECT_EQ(f.host.pageCalls, c.pageCalls);
  }
}

TEST(GameWindow, TrayIconExistsExactlyWhileTheWindowIsHidden) {
  Fixture f;
  f.Start();
  f.window.Run(GameCommand::kRestore);
  f.window.Run(GameCommand::kHideToTray);
  EXPECT_EQ(f.window.state(), GameWindowState::kHidden);
  EXPECT_TRUE(f.window.trayIconShown());
  EXPECT_EQ(f.window.OnTrayNotify(129, kTrayLeftButtonUp), 1);  // another icon's
  EXPECT_EQ(f.window.OnTrayNotify(kTrayIconId, 0x0201), 0);     // button down alone
  EXPECT_EQ(f.window.state(), GameWindowState::kHidden);

  f.host.log.clear();
  EXPECT_EQ(f.window.OnTrayNotify(kTrayIconId, kTrayLeftButtonUp), 0);
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"ShowWindow", "RemoveTrayIcon"}));
  EXPECT_EQ(f.window.state(), GameWindowState::kRestored);  // as it was, no geometry change

  // The menu's only item asks the close question; Cancel leaves the window hidden and findable.
  f.window.Run(GameCommand::kHideToTray);
  f.window.OnTrayNotify(kTrayIconId, kTrayRightButtonUp);
  EXPECT_EQ(f.host.lastMenu, (std::vector<MenuItem>{{kCommandCancel, "quit"}}));
  EXPECT_EQ(f.host.lastMenuAt, f.host.cursor);
  f.host.log.clear();
  EXPECT_TRUE(f.window.OnCommand(kCommandCancel));
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"Ask"}));
  EXPECT_TRUE(f.window.trayIconShown());
  f.host.answer = true;
  f.window.OnCommand(kCommandCancel);
  EXPECT_TRUE(f.host.InOrder({"Ask", "RemoveTrayIcon", "EndDialog"}));

  // With no notification area a hidden window would be lost: it is minimised instead.
  Fixture g;
  g.host.trayWorks = false;
  g.Start();
  g.host.log.clear();
  g.window.Run(GameCommand::kHideToTray);
  EXPECT_EQ(g.host.log, (std::vector<std::string>{"AddTrayIcon tray tip", "MinimizeWindow"}));
  EXPECT_FALSE(g.window.trayIconShown());
  EXPECT_EQ(g.window.state(), GameWindowState::kMinimized);
}

TEST(GameWindow, LosingTheNotificationAreaNeverLeavesTheWindowHidden) {
  // Hidden: the window comes back minimised, without the icon, and hides to a new icon later.
  Fixture f;
  f.Start();
  f.window.Run(GameCommand::kHideToTray);
  f.host.log.clear();
  f.window.OnTrayIconLost();
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"RemoveTrayIcon", "MinimizeWindow"}));
  EXPECT_FALSE(f.window.trayIconShown());
  EXPECT_EQ(f.window.state(), GameWindowState::kMinimized);
  f.host.log.clear();
  f.window.Run(GameCommand::kHideToTray);
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"AddTrayIcon tray tip", "HideWindow"}));

  // A second report, or one with no icon shown, changes nothing.
  f.window.OnTrayIconLost();
  f.host.log.clear();
  f.window.OnTrayIconLost();
  Fixture g;
  g.Start();
  g.host.log.clear();
  g.window.OnTrayIconLost();
  EXPECT_TRUE(f.host.log.empty());
  EXPECT_TRUE(g.host.log.empty());
}

TEST(GameWindow, QuestionsDecideCloseRestartAndCleaning) {
  struct Case {
    GameCommand command;
    bool answer;
    std::vector<std::string> calls;
  } const cases[] = {
      {GameCommand::kConfirmClose, true, {"Ask", "EndDialog"}},
      {GameCommand::kConfirmClose, false, {"Ask"}},
      {GameCommand::kConfirmRestart, true, {"Ask", "StartProgram", "EndDialog"}},
      {GameCommand::kConfirmRestart, false, {"Ask"}},
      {GameCommand::kConfirmCleanCache, true, {"Ask", "CleanBrowserCache"}},
      {GameCommand::kConfirmCleanCache, false, {"Ask"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.command) * 2 + c.answer);
    Fixture f;
    f.host.programPath = "C:\\Games\\\x81\x5c.exe";  // the second byte of the name is '\\'
    f.Start();
    f.host.answer = c.answer;
    f.window.Run(c.command);
    EXPECT_EQ(f.host.log, c.calls);
    ASSERT_EQ(f.host.questions.size(), 1u);
    const auto [text, caption] = f.host.questions[0];
    if (c.command == GameCommand::kConfirmCleanCache) {
      EXPECT_EQ(text, "clean cache?");
      EXPECT_EQ(caption, "clean");
    } else {
      EXPECT_EQ(text, "close?");
      EXPECT_EQ(caption, "\x81\x5c");
    }
  }
}

TEST(GameWindow, OneQuestionAtATime) {
  // Commands delivered while a question is open (a storm of tray menu clicks) ask nothing more.
  Fixture f;
  f.Start();
  f.host.answer = false;
  int nested = 0;
  f.host.duringQuestion = [&] {
    if (++nested > 100) return;  // bounded: a fault shows as extra questions, not a hang
    for (GameCommand c : {GameCommand::kConfirmClose, GameCommand::kConfirmRestart,
                          GameCommand::kConfirmCleanCache})
      f.window.Run(c);
  };
  f.window.Run(GameCommand::kConfirmClose);
  EXPECT_EQ(f.host.questions.size(), 1u);
  // Once it is answered, the next request asks again.
  f.host.duringQuestion = nullptr;
  f.window.Run(GameCommand::kConfirmCleanCache);
  EXPECT_EQ(f.host.questions.size(), 2u);
}

TEST(GameWindow, RestartCommandLineQuotesThePath) {
  EXPECT_EQ(RestartCommandLine("C:\\Program Files\\Sea\\sea.exe"),
            "\"C:\\Program Files\\Sea\\sea.exe\"");
}

TEST(GameWindow, PageCallsEndRestartRelinkAndRetitle) {
  Fixture f;
  f.Start();
  f.window.OnJsCallClient(
      {BridgeArg::String("4"), BridgeArg::String("http://pay/?a=1;b=2"), BridgeArg::Empty()});
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"SetButtonLink " + std::to_string(kRechargeSlot) +
                                                  " http://pay/?a=1;b=2"}));

  f.host.log.clear();
  f.window.OnJsCallClient({BridgeArg::String("6"), BridgeArg::String("S1"), BridgeArg::Empty()});
  EXPECT_EQ(*f.window.titleText(), "\xd0\xc7\xba\xa3-S1");
  EXPECT_EQ(f.window.PaintPlan(false, {1920, 1040}, {32, 32}).title->text, "\xd0\xc7\xba\xa3-S1");
  EXPECT_TRUE(f.host.InOrder({"MoveBrowser 0,27,1920,1040", "InvalidateWindow", "RedrawBrowser"}));
  EXPECT_FALSE(f.host.AnyStartsWith("SetWindowText"));  // the taskbar keeps the title

  // "2" restarts once and ends without a question; later calls do nothing.
  f.host.log.clear();
  f.window.OnJsCallClient({BridgeArg::String("2")});
  f.window.OnJsCallClient({BridgeArg::String("2")});
  f.window.OnJsCallClient({BridgeArg::String("1")});
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"StartProgram", "EndDialog"}));

  // Without a recharge button the link call changes nothing.
  ConfigRecord noRecharge = SampleConfig();
  noRecharge.gameButtons.pop_back();
  Fixture g(noRecharge);
  g.Start();
  g.window.OnJsCallClient(
      {BridgeArg::String("4"), BridgeArg::String("http://pay/"), BridgeArg::Empty()});
  g.window.OnJsCallClient({BridgeArg::String("1")});
  EXPECT_EQ(g.host.log, (std::vector<std::string>{"EndDialog"}));
}

// A page's calls made in one go: every call acts in order, the title is laid out and drawn
// once with the latest text, and nothing acts after the window ended.
TEST(GameWindow, PageCallsInOneGoDrawTheTitleOnce) {
  Fixture f;
  f.Start();
  f.host.log.clear();
  std::vector<std::vector<BridgeArg>> calls;
  for (int i = 0; i < 1000; ++i)
    calls.push_back({BridgeArg::String("6"), BridgeArg::String("S" + std::to_string(i)),
                     BridgeArg::Empty()});
  calls.push_back({BridgeArg::String("4"), BridgeArg::String("http://pay/"), BridgeArg::Empty()});
  f.window.OnJsCallClients(calls);
  EXPECT_EQ(*f.window.titleText(), "\xd0\xc7\xba\xa3-S999");
  EXPECT_EQ(std::count(f.host.log.begin(), f.host.log.end(), "RedrawBrowser"), 1);
  EXPECT_TRUE(f.host.InOrder({"SetButtonLink " + std::to_string(kRechargeSlot) + " http://pay/",
                              "InvalidateWindow", "RedrawBrowser"}));

  f.host.log.clear();
  f.window.OnJsCallClients({{BridgeArg::String("6"), BridgeArg::String("late"), BridgeArg::Empty()},
                            {BridgeArg::String("1")},
                            {BridgeArg::String("2")},
                            {BridgeArg::String("6"), BridgeArg::String("after"), BridgeArg::Empty()}});
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"EndDialog"}));
}

TEST(GameWindow, SettingsMenuAndBorderSizing) {
  Fixture f;
  f.Start();
  EXPECT_TRUE(f.window.OnCommand(191));
  EXPECT_EQ(f.host.lastMenuAt, (GamePoint{500, 32}));
  ASSERT_EQ(f.host.lastMenu.size(), 4u);
  EXPECT_EQ(f.host.lastMenu[3], (MenuItem{2038, "version 1.30"}));
  EXPECT_FALSE(f.window.OnCommand(2038));  // the version item does nothing

  // Border zones exist when restored only; a press on one starts sizing from that edge.
  EXPECT_EQ(f.window.OnNcHitTest({f.host.window.left, 500}), HitCode::kClient);
  f.window.Run(GameCommand::kRestore);
  const HitCode left = f.window.OnNcHitTest({f.host.window.left + 1, 500});
  EXPECT_EQ(left, HitCode::kLeft);
  f.host.log.clear();
  f.window.OnNcLButtonDown(static_cast<int>(left), {481, 500});
  f.window.OnNcLButtonDown(static_cast<int>(HitCode::kClient), {700, 500});
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"BeginSizing 1"}));
  EXPECT_TRUE(f.window.TitleBandDraggable({600, 26}));
  EXPECT_FALSE(f.window.TitleBandDraggable({600, 27}));

  // Without a settings button there is no menu.
  ConfigRecord noSettings = SampleConfig();
  noSettings.gameButtons[5].image = 0;
  Fixture g(noSettings);
  g.Start();
  g.window.OnCommand(191);
  EXPECT_TRUE(g.host.log.empty());
}

TEST(GameWindow, SizeChangesLayOutUnlessMinimised) {
  Fixture f;
  f.Start();
  f.window.Run(GameCommand::kMinimize);
  EXPECT_EQ(f.window.state(), GameWindowState::kMinimized);
  f.host.log.clear();
  f.window.OnSize(true);
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"RedrawBrowser"}));
  EXPECT_EQ(f.window.PaintPlan(true, {160, 24}, {32, 32}).kind, GamePaintPlan::Kind::kIcon);
  f.host.log.clear();
  f.window.OnSize(false);
  EXPECT_EQ(f.window.state(), GameWindowState::kMaximized);
  EXPECT_TRUE(f.host.InOrder({"MoveBrowser 0,27,1920,1040", "InvalidateWindow", "RedrawBrowser"}));
}

}  // namespace
}  // namespace mc
