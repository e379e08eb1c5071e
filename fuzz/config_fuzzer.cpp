// Configuration texts of any shape, through the INI dialect and the configuration record.
// Loading never fails for lack of sense in the text, the record always fits the client's
// fixed fields and list limits, the text ends at its first NUL, and section and key names
// are ordered consistently (the INI document's maps rely on a strict weak order).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "package/config_record.h"
#include "package/ini_document.h"

namespace {

constexpr char kMachineCode[] = "0123456789AB";

bool Parse(std::string_view text, mc::ConfigRecord& record) {
  mc::IniDocument ini;
  FUZZ_CHECK(ini.Load(text.data(), text.size()));
  return mc::ParseConfig(ini, [] { return std::string(kMachineCode); }, record);
}

void CheckField(const std::string& text, size_t fieldBytes) { FUZZ_CHECK(text.size() < fieldBytes); }

void CheckRecord(const mc::ConfigRecord& r, bool accepted) {
  CheckField(r.gameheader, mc::kShortTextField);
  CheckField(r.title, mc::kLongTextField);
  CheckField(r.firstUrl, mc::kLongTextField);
  CheckField(r.notityTitle, mc::kShortTextField);
  CheckField(r.notifyCloseTitle, mc::kShortTextField);
  CheckField(r.clearFlashTitle, mc::kShortTextField);
  CheckField(r.clearFlashMsg, mc::kLongTextField);
  CheckField(r.versionUrl, mc::kLongTextField);
  CheckField(r.exeUrl, mc::kLongTextField);
  CheckField(r.server, mc::kShortTextField);
  CheckField(r.version, mc::kShortTextField);
  CheckField(r.closeMsg, mc::kShortTextField);
  for (const mc::LinkEntry& link : r.links) CheckField(link.url, mc::kUrlField);
  for (const mc::GameButtonEntry& button : r.gameButtons) {
    CheckField(button.title, mc::kCaptionField);
    CheckField(button.url, mc::kUrlField);
    CheckField(button.tips, mc::kCaptionField);
  }
  for (const mc::MenuEntry& menu : r.menus) CheckField(menu.title, mc::kCaptionField);
  const size_t limit = mc::kMaxListEntries;
  FUZZ_CHECK(r.links.size() <= limit && r.menus.size() <= limit);
  FUZZ_CHECK(r.gamePics.size() <= limit && r.gameButtons.size() <= limit);
  if (accepted) {
    FUZZ_CHECK(!r.links.empty());
  } else {
    FUZZ_CHECK(r.links.empty() && r.menus.empty() && r.gamePics.empty() && r.gameButtons.empty());
  }
}

// Everything of the record that a text could influence, as one string to compare.
std::string Describe(const mc::ConfigRecord& r) {
  std::string out = r.gameheader + '|' + r.title + '|' + r.firstUrl + '|' + r.notityTitle + '|' +
                    r.notifyCloseTitle + '|' + r.clearFlashTitle + '|' + r.clearFlashMsg + '|' +
                    r.versionUrl + '|' + r.exeUrl + '|' + r.server + '|' + r.version + '|' +
                    r.closeMsg;
  for (const int32_t n : {r.logx, r.logy, r.titlex, r.titley, r.port, r.titleColor,
                          r.loginCenterColor, r.minGameWidth, r.minGameHeight})
    out += '|' + std::to_string(n);
  for (const int32_t n : r.edgeImages) out += '|' + std::to_string(n);
  for (const mc::LinkEntry& l : r.links)
    out += "|L" + l.url + ',' + std::to_string(l.x) + ',' + std::to_string(l.y) + ',' +
           std::to_string(l.width) + ',' + std::to_string(l.height) + ',' + std::to_string(l.type);
  for (const mc::MenuEntry& m : r.menus)
    out += "|M" + m.title + ',' + std::to_string(m.type) + ',' + std::to_string(m.shortCut);
  for (const mc::GamePicEntry& p : r.gamePics)
    out += "|P" + std::to_string(p.x) + ',' + std::to_string(p.y) + ',' + std::to_string(p.width) +
           ',' + std::to_string(p.height) + ',' + std::to_string(p.interval);
  for (const mc::GameButtonEntry& b : r.gameButtons)
    out += "|B" + b.title + ',' + b.url + ',' + b.tips + ',' + std::to_string(b.x) + ',' +
           std::to_string(b.y) + ',' + std::to_string(b.type) + ',' + std::to_string(b.image) +
           ',' + std::to_string(b.color) + ',' + std::to_string(b.shortCut);
  return out;
}

// Irreflexive, asymmetric and transitive, with equivalence transitive too.
void CheckOrder(const std::string& a, const std::string& b, const std::string& c) {
  const mc::GbkNoCase less;
  FUZZ_CHECK(!less(a.c_str(), a.c_str()));
  FUZZ_CHECK(!(less(a.c_str(), b.c_str()) && less(b.c_str(), a.c_str())));
  if (less(a.c_str(), b.c_str()) && less(b.c_str(), c.c_str())) FUZZ_CHECK(less(a.c_str(), c.c_str()));
  const auto same = [&](const std::string& x, const std::string& y) {
    return !less(x.c_str(), y.c_str()) && !less(y.c_str(), x.c_str());
  };
  if (same(a, b) && same(b, c)) FUZZ_CHECK(same(a, c));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  mc::ConfigRecord record;
  const bool accepted = Parse(text, record);
  CheckRecord(record, accepted);

  // Whatever follows the first NUL is not part of the text.
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) {
    mc::ConfigRecord cut;
    FUZZ_CHECK(Parse(text.substr(0, nul), cut) == accepted);
    FUZZ_CHECK(Describe(cut) == Describe(record));
  }

  // The first three lines as section or key names.
  std::string names[3];
  size_t pos = 0;
  for (std::string& name : names) {
    const size_t end = std::min(text.find('\n', pos), text.size());
    if (pos < text.size()) name.assign(text.substr(pos, end - pos));
    name = name.substr(0, name.find('\0'));
    pos = end + 1;
  }
  CheckOrder(names[0], names[1], names[2]);
  return 0;
}
