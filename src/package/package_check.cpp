#include "package/package_check.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

#include "base/package_layout.h"
#include "package/config_record.h"
#include "package/gbk.h"
#include "package/ini_document.h"
#include "package/minisign_files.h"

namespace mc {

namespace {

constexpr int kButtonStates = 3;  // normal, pressed and hover faces stacked in the sprite
constexpr size_t kVersionMenuField = 64;
constexpr size_t kListedNames = 5;  // names listed in one message before "and N more"

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

constexpr char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Printable ASCII as is, every other byte as \xHH: messages stay readable in any terminal.
std::string Printable(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    } else {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

PackageProblem ConfigProblem(int line, std::string message) {
  PackageProblem problem;
  problem.file = kConfigEntry;
  problem.line = line;
  problem.message = std::move(message);
  return problem;
}

std::string Bracketed(std::string_view section) { return "[" + Printable(section) + "]"; }

// "[link3], [link5] are" with at most kListedNames names.
std::string NameList(const std::vector<std::string>& names) {
  std::string out;
  for (size_t i = 0; i < names.size() && i < kListedNames; ++i) {
    if (i > 0) out += ", ";
    out += Bracketed(names[i]);
  }
  if (names.size() > kListedNames)
    out += " and " + std::to_string(names.size() - kListedNames) + " more";
  return out + (names.size() == 1 ? " is" : " are");
}

// Number of a section named prefix + plain decimal number (letter case ignored, as the
// client's lookups do); 0 for any other name.
int SectionNumber(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.size() > prefix.size() + 9) return 0;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (FoldAscii(name[i]) != FoldAscii(prefix[i])) return 0;
  const std::string_view digits = name.substr(prefix.size());
  if (digits.front() == '0') return 0;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  return std::stoi(std::string(digits));
}

struct NameLess {
  bool operator()(const std::string& left, const std::string& right) const {
    return GbkNoCase()(left.c_str(), right.c_str());
  }
};

// Where the INI document finds each section and key: the text read again line by line with
// the same rules, so a problem can name its line.
class TextLines {
 public:
  struct Section {
    int header = 0;                             // line of its first valid header
    std::map<std::string, int, NameLess> keys;  // line of the last occurrence: the one in use
  };

  // Reports the byte-order mark and broken headers on the way.
  TextLines(std::string_view text, std::vector<PackageProblem>& problems) {
    text = text.substr(0, text.find('\0'));
    if (text.starts_with("\xEF\xBB\xBF")) {
      const std::string_view first = text.substr(0, text.find_first_of("\r\n")).substr(3);
      const bool header = TrimBlanks(first).starts_with('[');
      problems.push_back(ConfigProblem(1, std::string("starts with a UTF-8 byte-order mark: the "
                                                      "client reads it as part of line 1") +
                                              (header ? ", so the header there is lost" : "")));
    }
    Section* current = &sections_[""];
    int line = 0;
    size_t pos = 0;
    while (pos < text.size()) {
      ++line;
      size_t end = text.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view content = text.substr(pos, end - pos);
      // A line ends at LF, CR or CR LF.
      pos = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);

      while (!content.empty() && IsBlank(content.front())) content.remove_prefix(1);
      if (content.empty() || content.front() == ';' || content.front() == '#') continue;
      if (content.front() == '[') {
        const size_t close = content.find(']');
        if (close == std::string_view::npos) {
          problems.push_back(ConfigProblem(
              line, "section header \"" + Printable(TrimBlanks(content)) +
                        "\" has no \"]\": the keys after it, up to the next header, are lost"));
          current = nullptr;
          continue;
        }
        const std::string name(TrimBlanks(content.substr(1, close - 1)));
        auto [it, added] = sections_.try_emplace(name);
        if (added) it->second.header = line;
        current = &it->second;
        continue;
      }
      const size_t equals = content.find('=');
      if (equals == std::string_view::npos || current == nullptr) continue;
      const std::string key(TrimBlanks(content.substr(0, equals)));
      if (!key.empty()) current->keys[key] = line;
    }
  }

  // Line of the key, else of its section's header, else 0.
  int Line(std::string_view section, std::string_view key = {}) const {
    const auto it = sections_.find(std::string(section));
    if (it == sections_.end()) return 0;
    const auto keyIt = it->second.keys.find(std::string(key));
    return keyIt != it->second.keys.end() ? keyIt->second : it->second.header;
  }

  const std::map<std::string, Section, NameLess>& sections() const { return sections_; }

 private:
  std::map<std::string, Section, NameLess> sections_;
};

class Checker {
 public:
  Checker(const PackageEntryReader& readEntry, const PngDecoder& decodePng)
      : readEntry_(readEntry), decodePng_(decodePng) {}

  std::vector<PackageProblem> Run() {
    CheckRequiredPicture(kBackgroundEntry, "the client does not start", true);
    const Picture sprite = CheckRequiredPicture(
        kSpriteEntry, "the game window stops initialising before its frame and buttons", false);
    CheckRequiredPicture(kLogoEntry, "the game window stops initialising before its logo", false);
    CheckConfig(sprite);
    CheckUpdateKey();

    std::stable_sort(
        config_.begin(), config_.end(),
        [](const PackageProblem& a, const PackageProblem& b) { return a.line < b.line; });
    config_.insert(config_.end(), files_.begin(), files_.end());
    return std::move(config_);
  }

 private:
  struct Picture {
    bool present = false;
    bool decoded = false;
    int width = 0;
    int height = 0;
  };

  struct List {
    std::string_view countKey;
    std::string_view prefix;
  };

  void AddConfig(int line, std::string message, bool stopsClient = false) {
    PackageProblem problem = ConfigProblem(line, std::move(message));
    problem.stopsClient = stopsClient;
    config_.push_back(std::move(problem));
  }

  // A problem of one key (or of a whole section, with an empty key).
  void AddConfigAbout(std::string_view section, std::string_view key, int line,
                      std::string message) {
    PackageProblem problem = ConfigProblem(line, std::move(message));
    problem.section = section;
    problem.key = key;
    config_.push_back(std::move(problem));
  }

  // Reads and decodes a picture once; an undecodable one is reported against its own file.
  const Picture& ReadPicture(const std::string& name, std::string_view consequence) {
    const auto [it, added] = pictures_.try_emplace(name);
    Picture& picture = it->second;
    if (!added) return picture;
    const std::optional<std::vector<uint8_t>> bytes = readEntry_(name);
    if (!bytes) return picture;
    picture.present = true;
    picture.decoded = decodePng_(*bytes, picture.width, picture.height);
    if (!picture.decoded) {
      std::string message = "does not decode as a PNG image";
      if (!consequence.empty()) message += ": " + std::string(consequence);
      files_.push_back({name, 0, std::move(message), false, {}, {}});
    }
    return picture;
  }

  Picture CheckRequiredPicture(const std::string& name, std::string_view consequence,
                               bool stopsClient) {
    const Picture& picture = ReadPicture(name, {});
    if (!picture.present)
      files_.push_back({name, 0, "missing: " + std::string(consequence), stopsClient, {}, {}});
    return picture;
  }

  // A key the client cannot read makes it refuse every update.
  void CheckUpdateKey() {
    const std::optional<std::vector<uint8_t>> bytes = readEntry_(kUpdateKeyEntry);
    if (!bytes) return;
    MinisignProblem problem;
    if (ParseMinisignKey({reinterpret_cast<const char*>(bytes->data()), bytes->size()}, &problem))
      return;
    files_.push_back({kUpdateKeyEntry, problem.line,
                      problem.message + ": the client installs no update", false, {}, {}});
  }

  void CheckConfig(const Picture& sprite) {
    const std::optional<std::vector<uint8_t>> bytes = readEntry_(kConfigEntry);
    if (!bytes) {
      AddConfig(0, "missing: the client does not start", true);
      return;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const TextLines lines(text, config_);
    IniDocument ini;
    if (!ini.Load(text.data(), text.size())) {
      AddConfig(0, "cannot be loaded: the client does not start", true);
      return;
    }
    ConfigRecord record;
    const bool accepted = ParseConfig(
        ini, [] { return std::string(); }, record);

    CheckGlobalTexts(ini, lines);
    if (!accepted) {  // the client refuses the whole configuration and reads no list
      const std::optional<std::string> value = ini.Get(kGlobalSection, "linkCount");
      AddConfig(lines.Line(kGlobalSection, "linkCount"),
                (value ? "linkCount is " + std::to_string(ParseConfigInt(*value)) + ", below 1"
                       : std::string("linkCount is missing from [global]")) +
                    ": the client ends at start without a message",
                true);
      return;
    }
    CheckCounts(ini, lines);
    CheckListTexts(ini, lines, record);
    CheckPictureNumbers(ini, lines, record);
    CheckLinkImages(lines, record);
    if (sprite.decoded) CheckSpriteRectangles(ini, lines, record, sprite);
  }

  void CheckCounts(const IniDocument& ini, const TextLines& lines) {
    static constexpr List kLists[] = {{"linkCount", kLinkSectionPrefix},
                                      {"picCount", kGamePicSectionPrefix},
                                      {"gameButtonCount", kGameButtonSectionPrefix},
                                      {"menuCount", kMenuSectionPrefix}};
    for (const List& list : kLists) {
      const std::string countKey(list.countKey);
      const std::optional<std::string> value = ini.Get(kGlobalSection, countKey);
      const int32_t count = value ? ParseConfigInt(*value) : 0;
      const int line = lines.Line(kGlobalSection, countKey);
      const std::string stated = countKey + " is " + std::to_string(count);
      if (count > kMaxListEntries) {
        AddConfig(line, stated + ": the client reads only the first " +
                            std::to_string(kMaxListEntries) + " sections");
      }
      const int read = std::clamp<int32_t>(count, 0, kMaxListEntries);

      std::vector<std::string> missing;
      for (int i = 1; i <= read; ++i) {
        std::string name = NumberedName(list.prefix, i);
        if (!ini.HasSection(name)) missing.push_back(std::move(name));
      }
      if (!missing.empty()) {
        AddConfig(line, stated + " but " + NameList(missing) +
                            " missing: the client uses default values");
      }

      std::vector<std::pair<int, int>> unread;  // section number, header line
      for (const auto& [name, section] : lines.sections()) {
        const int number = SectionNumber(name, list.prefix);
        if (number > read) unread.emplace_back(number, section.header);
      }
      if (!unread.empty()) {
        std::sort(unread.begin(), unread.end());
        std::vector<std::string> names;
        for (const auto& [number, header] : unread)
          names.push_back(NumberedName(list.prefix, number));
        AddConfig(unread.front().second, NameList(names) + " not read: " + stated);
      }
    }
  }

  // A text value that the client cuts or cannot show.
  void CheckText(const IniDocument& ini, const TextLines& lines, std::string_view section,
                 std::string_view key, size_t fieldBytes) {
    const std::optional<std::string> value = ini.Get(section, key);
    if (!value) return;
    const int line = lines.Line(section, key);
    const std::string name =
        (section == kGlobalSection ? std::string() : Bracketed(section) + " ") + std::string(key);
    if (!IsValidGbk(*value)) AddConfigAbout(section, key, line, name + " is not valid GBK text");
    if (value->size() >= fieldBytes) {
      AddConfigAbout(section, key, line,
                     name + " is " + std::to_string(value->size()) +
                         " bytes, longer than its field: the client cuts it to " +
                         std::to_string(CutToField(*value, fieldBytes).size()));
    }
  }

  void CheckGlobalTexts(const IniDocument& ini, const TextLines& lines) {
    static constexpr std::pair<std::string_view, size_t> kTexts[] = {
        {"gameheader", kShortTextField},
        {"firstUrl", kLongTextField},
        {"version", kShortTextField},
        {"server", kShortTextField},
        {"versionUrl", kLongTextField},
        {"exeUrl", kLongTextField},
        {"title", kLongTextField},
        {"notityTitle", kShortTextField},
        {"notifyCloseTitle", kShortTextField},
        {"clearFlashTitle", kShortTextField},
        {"clearFlashMsg", kLongTextField},
        {"closeMsg", kShortTextField}};
    for (const auto& [key, field] : kTexts) CheckText(ini, lines, kGlobalSection, key, field);
  }

  void CheckListTexts(const IniDocument& ini, const TextLines& lines, const ConfigRecord& record) {
    for (size_t i = 1; i <= record.links.size(); ++i) {
      const std::string section = NumberedName(kLinkSectionPrefix, static_cast<int>(i));
      CheckText(ini, lines, section, "url", kUrlField);
      if (static_cast<int>(i) != kMachineCodeLink) continue;
      const std::optional<std::string> url = ini.Get(section, "url");
      if (!url) continue;
      const size_t withCode =
          CutToField(*url, kUrlField).size() + kMachineCodeParameter.size() + kMachineCodeLength;
      if (url->find('?') != std::string::npos && withCode >= kUrlField) {
        AddConfigAbout(section, "url", lines.Line(section, "url"),
                       Bracketed(section) + " url with the machine code is " +
                           std::to_string(withCode) + " bytes: the client cuts it to " +
                           std::to_string(kUrlField - 1));
      }
    }
    for (size_t i = 1; i <= record.gameButtons.size(); ++i) {
      const std::string section = NumberedName(kGameButtonSectionPrefix, static_cast<int>(i));
      CheckText(ini, lines, section, "title", kCaptionField);
      CheckText(ini, lines, section, "url", kUrlField);
      CheckText(ini, lines, section, "tips", kCaptionField);
    }
    for (size_t i = 1; i <= record.menus.size(); ++i) {
      const std::string section = NumberedName(kMenuSectionPrefix, static_cast<int>(i));
      CheckText(ini, lines, section, "title", kCaptionField);
      const MenuEntry& menu = record.menus[i - 1];
      const size_t shown = menu.title.size() + record.version.size();
      if (menu.type == menu_type::kVersion && shown >= kVersionMenuField) {
        AddConfigAbout(section, "title", lines.Line(section, "title"),
                       Bracketed(section) + " title and version together are " +
                           std::to_string(shown) + " bytes: the menu shows at most " +
                           std::to_string(kVersionMenuField - 1));
      }
    }
  }

  void CheckPictureNumbers(const IniDocument& ini, const TextLines& lines,
                           const ConfigRecord& record) {
    const int32_t pictures = static_cast<int32_t>(record.gamePics.size());
    const std::string range = "no such picture (picCount is " + std::to_string(pictures) + ")";
    for (int k = 1; k <= kEdgeImageCount; ++k) {
      const int32_t number = record.edgeImages[k - 1];
      if (number >= 1 && number <= pictures) continue;
      const std::string key = NumberedName(kEdgeImageKeyPrefix, k);
      const std::string stated =
          ini.Get(kGlobalSection, key)
              ? key + " is " + std::to_string(number)
              : key + " is missing and defaults to " + std::to_string(number);
      AddConfigAbout(kGlobalSection, key, lines.Line(kGlobalSection, key),
                     stated + ": " + range + ", the game window has no such frame piece");
    }
    for (size_t i = 1; i <= record.gameButtons.size(); ++i) {
      const std::string section = NumberedName(kGameButtonSectionPrefix, static_cast<int>(i));
      const int32_t number = record.gameButtons[i - 1].image;
      if (!ini.HasSection(section) || (number >= 1 && number <= pictures)) continue;
      AddConfigAbout(section, "image", lines.Line(section, "image"),
                     Bracketed(section) + " image " + std::to_string(number) + ": " + range +
                         ", the button is not made");
    }
  }

  void CheckLinkImages(const TextLines& lines, const ConfigRecord& record) {
    for (size_t i = 1; i <= record.links.size(); ++i) {
      const int32_t type = record.links[i - 1].type;
      if (!IsButtonLinkType(type)) continue;  // only buttons show images
      const std::string section = NumberedName(kLinkSectionPrefix, static_cast<int>(i));
      for (const bool pressed : {false, true}) {
        const std::string name = LinkImageEntry(static_cast<int>(i), pressed);
        if (ReadPicture(name, "the launcher stops building its links here").present) continue;
        AddConfigAbout(section, "type", lines.Line(section, "type"),
                       Bracketed(section) + " (type " + std::to_string(type) + ") needs " + name +
                           ", which is missing: the launcher stops building its links here");
      }
    }
  }

  void CheckSpriteRectangles(const IniDocument& ini, const TextLines& lines,
                             const ConfigRecord& record, const Picture& sprite) {
    std::vector<int> states(record.gamePics.size(), 1);
    for (const GameButtonEntry& button : record.gameButtons) {
      if (button.image >= 1 && static_cast<size_t>(button.image) <= states.size())
        states[button.image - 1] = kButtonStates;
    }
    for (size_t i = 1; i <= record.gamePics.size(); ++i) {
      const std::string section = NumberedName(kGamePicSectionPrefix, static_cast<int>(i));
      if (!ini.HasSection(section)) continue;  // reported with picCount
      const GamePicEntry& pic = record.gamePics[i - 1];
      const int line = lines.Line(section);
      if (pic.width < 1 || pic.height < 1) {
        AddConfigAbout(section, {}, line,
                       Bracketed(section) + " is empty (" + std::to_string(pic.width) + " x " +
                           std::to_string(pic.height) + ")");
        continue;
      }
      // Stacked states: each starts interval pixels below the end of the one before.
      const int64_t step = int64_t{pic.height} + pic.interval;
      const int64_t last = step * (states[i - 1] - 1);
      const int64_t top = pic.y + std::min<int64_t>(0, last);
      const int64_t bottom = pic.y + std::max<int64_t>(0, last) + pic.height;
      const int64_t right = int64_t{pic.x} + pic.width;
      if (pic.x >= 0 && top >= 0 && right <= sprite.width && bottom <= sprite.height) continue;
      std::string what = Bracketed(section) + " (x " + std::to_string(pic.x) + ", y " +
                         std::to_string(pic.y) + ", " + std::to_string(pic.width) + " x " +
                         std::to_string(pic.height);
      if (states[i - 1] > 1) {
        what += ", " + std::to_string(states[i - 1]) + " button states " +
                std::to_string(pic.interval) + " apart";
      }
      AddConfigAbout(section, {}, line,
                     what + ") reaches outside " + kSpriteEntry + " (" +
                         std::to_string(sprite.width) + " x " + std::to_string(sprite.height) +
                         ")");
    }
  }

  const PackageEntryReader& readEntry_;
  const PngDecoder& decodePng_;
  std::map<std::string, Picture> pictures_;
  std::vector<PackageProblem> config_;  // config/cg.txt, sorted by line at the end
  std::vector<PackageProblem> files_;   // pictures in the order they were read, the key last
};

}  // namespace

std::vector<PackageProblem> CheckPackage(const PackageEntryReader& readEntry,
                                         const PngDecoder& decodePng) {
  return Checker(readEntry, decodePng).Run();
}

}  // namespace mc
