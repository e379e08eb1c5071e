#include "package/config_record.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "base/package_layout.h"
#include "package/gbk.h"

namespace mc {

namespace {

constexpr int32_t kDefaultPort = 80;
constexpr int32_t kDefaultMinGameWidth = 800;
constexpr int32_t kDefaultMinGameHeight = 600;
constexpr int32_t kDefaultEdgeImage = 9;
constexpr std::string_view kDefaultLinkUrl = "_blank";

// Reads the keys of one section with their defaults.
class SectionReader {
 public:
  SectionReader(const IniDocument& ini, std::string section)
      : ini_(ini), section_(std::move(section)) {}

  std::string Text(std::string_view key, size_t fieldBytes,
                   std::string_view fallback = {}) const {
    const std::optional<std::string> value = ini_.Get(section_, key);
    return CutToField(value ? std::string_view(*value) : fallback, fieldBytes);
  }

  // A present key is always converted, so an empty value reads 0, not the default.
  int32_t Int(std::string_view key, int32_t fallback) const {
    const std::optional<std::string> value = ini_.Get(section_, key);
    return value ? ParseConfigInt(*value) : fallback;
  }

 private:
  const IniDocument& ini_;
  std::string section_;
};

int ListLength(int32_t count) { return std::clamp<int32_t>(count, 0, kMaxListEntries); }

constexpr bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int32_t ParseConfigInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // The magnitude stops growing once it is past either limit, so it cannot overflow.
  constexpr int64_t kBeyondRange = int64_t{1} << 32;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kBeyondRange);
  return static_cast<int32_t>(std::clamp<int64_t>(negative ? -magnitude : magnitude,
                                                  std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

std::string NumberedName(std::string_view prefix, int number) {
  std::string name(prefix);
  name += std::to_string(number);
  return name;
}

bool ParseConfig(const IniDocument& ini, const std::function<std::string()>& queryMachineCode,
                 ConfigRecord& out) {
  out.links.clear();
  out.gamePics.clear();
  out.gameButtons.clear();
  out.menus.clear();

  const SectionReader global(ini, std::string(kGlobalSection));
  out.gameheader = global.Text("gameheader", kShortTextField);
  const int32_t linkCount = global.Int("linkCount", 0);
  out.firstUrl = global.Text("firstUrl", kLongTextField);
  out.version = global.Text("version", kShortTextField);
  out.server = global.Text("server", kShortTextField);
  out.port = global.Int("port", kDefaultPort);
  out.versionUrl = global.Text("versionUrl", kLongTextField);
  out.exeUrl = global.Text("exeUrl", kLongTextField);
  out.title = global.Text("title", kLongTextField);
  out.titleColor = global.Int("titleColor", kColorWhite);
  out.logx = global.Int("logx", 0);
  out.logy = global.Int("logy", 0);
  out.titlex = global.Int("titlex", 0);
  out.titley = global.Int("titley", 0);
  for (int i = 0; i < kEdgeImageCount; ++i)
    out.edgeImages[i] = global.Int(NumberedName(kEdgeImageKeyPrefix, i + 1), kDefaultEdgeImage);
  const int32_t picCount = global.Int("picCount", 0);
  const int32_t gameButtonCount = global.Int("gameButtonCount", 0);
  const int32_t menuCount = global.Int("menuCount", 0);
  out.notityTitle = global.Text("notityTitle", kShortTextField);
  out.notifyCloseTitle = global.Text("notifyCloseTitle", kShortTextField);
  out.clearFlashTitle = global.Text("clearFlashTitle", kShortTextField);
  out.clearFlashMsg = global.Text("clearFlashMsg", kLongTextField);
  out.closeMsg = global.Text("closeMsg", kShortTextField);
  out.minGameWidth = global.Int("minGameWidth", kDefaultMinGameWidth);
  out.minGameHeight = global.Int("minGameHeight", kDefaultMinGameHeight);
  out.loginCenterColor = global.Int("loginCenterColor", kColorWhite);

  if (linkCount < 1) return false;

  const std::string machineCode = queryMachineCode ? queryMachineCode() : std::string();

  out.links.reserve(ListLength(linkCount));
  for (int i = 1; i <= ListLength(linkCount); ++i) {
    const SectionReader section(ini, NumberedName(kLinkSectionPrefix, i));
    LinkEntry& link = out.links.emplace_back();
    link.url = section.Text("url", kUrlField, kDefaultLinkUrl);
    link.x = section.Int("x", 0);
    link.y = section.Int("y", 0);
    link.width = section.Int("width", 0);
    link.height = section.Int("height", 0);
    link.type = section.Int("type", 0);
    if (i == kMachineCodeLink && link.url.find('?') != std::string::npos) {
      link.url = CutToField(link.url + std::string(kMachineCodeParameter) + machineCode,
                            kUrlField);
    }
  }

  out.menus.reserve(ListLength(menuCount));
  for (int i = 1; i <= ListLength(menuCount); ++i) {
    const SectionReader section(ini, NumberedName(kMenuSectionPrefix, i));
    MenuEntry& menu = out.menus.emplace_back();
    menu.title = section.Text("title", kCaptionField);
    menu.type = section.Int("type", 0);
    menu.shortCut = section.Int("shortCut", 0);
  }

  out.gamePics.reserve(ListLength(picCount));
  for (int i = 1; i <= ListLength(picCount); ++i) {
    const SectionReader section(ini, NumberedName(kGamePicSectionPrefix, i));
    GamePicEntry& pic = out.gamePics.emplace_back();
    pic.x = section.Int("x", 0);
    pic.y = section.Int("y", 0);
    pic.width = section.Int("width", 0);
    pic.height = section.Int("height", 0);
    pic.interval = section.Int("interval", 0);
  }

  out.gameButtons.reserve(ListLength(gameButtonCount));
  for (int i = 1; i <= ListLength(gameButtonCount); ++i) {
    const SectionReader section(ini, NumberedName(kGameButtonSectionPrefix, i));
    GameButtonEntry& button = out.gameButtons.emplace_back();
    button.x = section.Int("x", 0);
    button.y = section.Int("y", 0);
    button.type = section.Int("type", 0);
    button.image = section.Int("image", 0);
    button.shortCut = section.Int("shortCut", 0);
    button.title = section.Text("title", kCaptionField);
    button.url = section.Text("url", kUrlField);
    button.tips = section.Text("tips", kCaptionField);
    button.color = section.Int("color", kColorWhite);
  }
  return true;
}

}  // namespace mc
