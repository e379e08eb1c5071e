// Reading a picture entry of the package: exact names, and the message for a missing entry.
#include "skin/package_image.h"

#include <gtest/gtest.h>

#include "base/messages.h"
#include "fake_app_host.h"
#include "zip_fixture.h"

namespace mc {
namespace {

TEST(PackageImage, MissingOrDifferentlyCasedEntryShowsTheMessage) {
  fixture::FakeAppHost host;
  const std::vector<uint8_t> sprite = {0x89, 'P', 'N', 'G'};
  host.program = fixture::PeProgramWith(fixture::BuildZip(
      {fixture::Stored("config/Style.png", sprite), fixture::Stored("config/logo.png", sprite)}));
  LauncherConfig config;
  ASSERT_TRUE(config.OpenPackage(host));

  std::vector<uint8_t> png;
  EXPECT_TRUE(ReadPackageImage(config, host, "config/logo.png", png));
  EXPECT_EQ(png, sprite);
  EXPECT_TRUE(host.messages.empty());

  EXPECT_FALSE(ReadPackageImage(config, host, "config/style.png", png));
  EXPECT_FALSE(ReadPackageImage(config, host, "config/1_n.png", png));
  const std::string message = std::string(text::kStartupFailedTitle) + "|" + text::kReadImageFailed;
  EXPECT_EQ(host.messages, (std::vector<std::string>{message, message}));
}

}  // namespace
}  // namespace mc
