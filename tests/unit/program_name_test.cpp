#include "package/program_name.h"

#include <gtest/gtest.h>

namespace mc {
namespace {

TEST(ProgramBaseName, StripsFolderAndLastExtensionMultibyteAware) {
  struct Case {
    const char* path;
    char separator;
    const char* withoutExtensionEmpty;
    const char* withoutExtensionWhole;
  } const cases[] = {
      {"C:\\games\\client.exe", '\\', "client", "client"},
      {"C:\\games\\my.game.client.exe", '\\', "my.game.client", "my.game.client"},
      {"C:\\Games\\Star.Sea\\client.v2.exe", '\\', "client.v2", "client.v2"},
      {"C:\\games\\client", '\\', "", "client"},  // no extension
      {"C:\\a.b\\client", '\\', "", "client"},    // the folder's dot does not count
      {"/opt/a.b/client", '/', "", "client"},
      {"/opt/games/sea", '/', "", "sea"},
      {"client.exe", '\\', "client", "client"},
      {"", '/', "", ""},
      // "\x95\x5C" is one GBK character whose trail byte is a backslash.
      {"C:\\x\\\x95\x5C" "ab.exe", '\\', "\x95\x5C" "ab", "\x95\x5C" "ab"},
      {"C:\\\xd0\xc7\x81\x5c.exe", '\\', "\xd0\xc7\x81\x5c", "\xd0\xc7\x81\x5c"},
      // "\x81\x2E" is one GBK character whose trail byte is a dot.
      {"C:\\x\\ab\x81\x2E", '\\', "", "ab\x81\x2E"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramBaseName(c.path, c.separator, WithoutExtension::kEmpty),
              c.withoutExtensionEmpty)
        << c.path;
    EXPECT_EQ(ProgramBaseName(c.path, c.separator, WithoutExtension::kWholeName),
              c.withoutExtensionWhole)
        << c.path;
  }
}

TEST(ProgramFolder, PathUpToTheLastSeparatorMultibyteAware) {
  struct Case {
    const char* path;
    char separator;
    const char* folder;
  } const cases[] = {
      {"C:\\games\\client.exe", '\\', "C:\\games"},
      {"/opt/games/client", '/', "/opt/games"},
      {"/client", '/', "/"},
      {"C:\\client.exe", '\\', "C:\\"},
      {"client", '/', ""},
      {"", '/', ""},
      // "\x95\x5C" is one GBK character whose trail byte is a backslash.
      {"C:\\x\\\x95\x5C" "ab.exe", '\\', "C:\\x"},
      {"C:\\\x95\x5C\\ab.exe", '\\', "C:\\\x95\x5C"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramFolder(c.path, c.separator), c.folder) << c.path;
}

}  // namespace
}  // namespace mc
