#include "package/gtk/gbk_utf8.h"

#include <glib.h>

#include "package/gbk.h"

namespace mc::gtk {

std::string GbkToUtf8(std::string_view gbk) {
  // Convert character by character so one bad byte costs one character, not the whole text.
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (size_t i = 0; i < gbk.size();) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    if (!IsGbkLeadByte(c) || i + 1 >= gbk.size()) {
      ++i;  // stray byte or a character cut in half
      continue;
    }
    gsize written = 0;
    gchar* utf8 = g_convert(gbk.data() + i, 2, "UTF-8", "GB18030", nullptr, &written, nullptr);
    if (utf8) {
      out.append(utf8, written);
      g_free(utf8);
    }
    i += 2;
  }
  return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
  gchar* valid = g_utf8_make_valid(utf8.data(), static_cast<gssize>(utf8.size()));
  gsize written = 0;
  gchar* gbk = g_convert(valid, -1, "GB18030", "UTF-8", nullptr, &written, nullptr);
  g_free(valid);
  if (!gbk) return std::string();
  std::string out(gbk, written);
  g_free(gbk);
  return out;
}

}  // namespace mc::gtk
