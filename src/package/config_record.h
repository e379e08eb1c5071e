// The configuration record: every setting of a deployment, read once from the INI document of
// config/cg.txt and only read afterwards. Texts are GBK bytes cut to the fields that held them
// in the program's fixed-size records (a field of n bytes keeps at most n - 1 bytes).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "package/ini_document.h"

namespace mc {

// Field sizes in bytes, terminating NUL included.
inline constexpr size_t kCaptionField = 32;   // button and menu titles, tips
inline constexpr size_t kShortTextField = 64;
inline constexpr size_t kLongTextField = 128;
inline constexpr size_t kUrlField = 256;

// Largest number of entries read into each list. Real deployments have tens; a count of
// millions would otherwise exhaust memory before the first window shows.
inline constexpr int kMaxListEntries = 1000;

inline constexpr int32_t kColorWhite = 16777215;  // 0x00BBGGRR
inline constexpr int kEdgeImageCount = 8;

inline constexpr std::string_view kGlobalSection = "global";
inline constexpr std::string_view kLinkSectionPrefix = "link";
inline constexpr std::string_view kGamePicSectionPrefix = "gamePic";
inline constexpr std::string_view kGameButtonSectionPrefix = "gamebutton";
inline constexpr std::string_view kMenuSectionPrefix = "menu";
inline constexpr std::string_view kEdgeImageKeyPrefix = "edgeImage";
inline constexpr int kMachineCodeLink = 5;  // the one link whose url carries the machine code

struct LinkEntry {
  std::string url;  // kUrlField
  int32_t x = 0, y = 0, width = 0, height = 0, type = 0;
};

struct GamePicEntry {
  int32_t x = 0, y = 0, width = 0, height = 0, interval = 0;
};

struct GameButtonEntry {
  int32_t x = 0, y = 0, type = 0, image = 0, color = 0, shortCut = 0;
  std::string title;  // kCaptionField
  std::string url;    // kUrlField
  std::string tips;   // kCaptionField
};

struct MenuEntry {
  std::string title;  // kCaptionField
  int32_t type = 0, shortCut = 0;
};

struct ConfigRecord {
  std::string gameheader;  // kShortTextField
  std::vector<LinkEntry> links;
  std::vector<GamePicEntry> gamePics;
  std::vector<GameButtonEntry> gameButtons;
  int32_t logx = 0, logy = 0, titlex = 0, titley = 0;
  std::string title;             // kLongTextField
  std::string firstUrl;          // kLongTextField
  std::string notityTitle;       // kShortTextField
  std::string notifyCloseTitle;  // kShortTextField
  std::string clearFlashTitle;   // kShortTextField
  std::string clearFlashMsg;     // kLongTextField
  std::string versionUrl;        // kLongTextField
  std::string exeUrl;            // kLongTextField
  int32_t port = 0;
  std::string server;    // kShortTextField
  std::string version;   // kShortTextField
  std::string closeMsg;  // kShortTextField
  int32_t titleColor = 0;
  int32_t loginCenterColor = 0;
  int32_t minGameWidth = 0, minGameHeight = 0;
  std::vector<MenuEntry> menus;
  std::array<int32_t, kEdgeImageCount> edgeImages{};
};

// Decimal number as strtol reads it: leading white space, optional sign, digits up to the
// first other character. No digits gives 0; out-of-range values give the nearest limit.
int32_t ParseConfigInt(std::string_view text);

// Name of a numbered section or key: prefix and the plain decimal number ("link3").
std::string NumberedName(std::string_view prefix, int number);

// Fills out from the document. False when linkCount is below 1; the global keys have then
// been read and the lists are empty. queryMachineCode is called once, only when the
// configuration is accepted; its result goes into link 5's url when that url has a "?".
bool ParseConfig(const IniDocument& ini, const std::function<std::string()>& queryMachineCode,
                 ConfigRecord& out);

}  // namespace mc
