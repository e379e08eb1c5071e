// Minisign key and signature files: their exact form, and which signatures verify.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "minisign_fixture.h"
#include "package/minisign_files.h"
#include "update/minisign_verify.h"

namespace mc {
namespace {

using fixture::Base64;
using fixture::MinisignSigner;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The file with line `index` (0-based) replaced.
std::string WithLine(const std::string& file, size_t index, const std::string& line) {
  std::vector<std::string> lines = SplitLines(file);
  lines.at(index) = line;
  return JoinLines(lines);
}

// A base64 line decoded, changed and encoded again.
std::string Recoded(const std::string& line, const std::function<void(std::string&)>& change) {
  std::string raw(line.size(), '\0');
  size_t size = 0;
  sodium_base642bin(reinterpret_cast<unsigned char*>(raw.data()), raw.size(), line.c_str(),
                    line.size(), nullptr, &size, nullptr, sodium_base64_VARIANT_ORIGINAL);
  raw.resize(size);
  change(raw);
  return Base64(reinterpret_cast<const uint8_t*>(raw.data()), raw.size());
}

// The same value with a set bit where only zero bits may be: the last digit before "=".
std::string NonCanonical(std::string line) {
  const size_t last = line.find('=') - 1;
  line[last] = static_cast<char>(line[last] + 1);  // 'A'..'Y' stay in the alphabet
  return line;
}

// A file and where its parser finds the problem (-1: it parses).
struct ParseCase {
  const char* what;
  std::string text;
  int line;
};

// Runs a parser over the cases: each parses, or names the line of its problem and says why.
template <typename Parse>
void ExpectParses(const std::vector<ParseCase>& cases, Parse parse) {
  for (const ParseCase& c : cases) {
    MinisignProblem problem;
    const bool parsed = parse(c.text, &problem);
    EXPECT_EQ(parsed, c.line < 0) << c.what;
    if (!parsed) {
      EXPECT_EQ(problem.line, c.line) << c.what;
      EXPECT_FALSE(problem.message.empty()) << c.what;
    }
  }
}

TEST(MinisignKey, OnlyTheExactFormParses) {
  const MinisignSigner signer(1);
  const std::string good = signer.PublicKeyFile();
  const std::string keyLine = SplitLines(good)[1];
  const auto changedKey = [&good, &keyLine](const std::function<void(std::string&)>& change) {
    return WithLine(good, 1, Recoded(keyLine, change));
  };
  const std::vector<ParseCase> cases = {
      {"as minisign writes it", good, -1},
      {"CR LF line ends", signer.PublicKeyFile("\r\n"), -1},
      {"no final line end", good.substr(0, good.size() - 1), -1},
      {"empty lines at the end", good + "\n\r\n", -1},
      {"empty", "", 0},
      {"line ends only", "\n\r\n", 0},
      {"comment only", "untrusted comment: key\n", 1},
      {"key without its comment", keyLine + "\n", 1},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + good, 1},
      {"comment without its space", WithLine(good, 0, "untrusted comment:key"), 1},
      {"another line after the key", good + "RWQ=\n", 3},
      {"an empty line between", WithLine(good, 0, "untrusted comment: k\n"), 2},
      {"blank after the key", WithLine(good, 1, keyLine + " "), 2},
      {"blank inside the key", WithLine(good, 1, keyLine.substr(0, 20) + " " + keyLine.substr(20)),
       2},
      {"character outside base64", WithLine(good, 1, "*" + keyLine.substr(1)), 2},
      {"URL-safe alphabet", WithLine(good, 1, keyLine.substr(0, 10) + "-" + keyLine.substr(11)), 2},
      {"one byte short", changedKey([](std::string& r) { r.pop_back(); }), 2},
      {"one byte long", changedKey([](std::string& r) { r += 'x'; }), 2},
      {"not an Ed25519 key", changedKey([](std::string& r) { r[1] = 'D'; }), 2},
      {"a signature line instead", WithLine(good, 1, SplitLines(signer.Sign("x"))[1]), 2},
  };
  ExpectParses(cases, [](const std::string& text, MinisignProblem* problem) {
    return ParseMinisignKey(text, problem).has_value();
  });
  // The key and its id are read from their places.
  const MinisignKey a = *ParseMinisignKey(good);
  const MinisignKey b = *ParseMinisignKey(MinisignSigner(2, 0x0102030405060708).PublicKeyFile());
  EXPECT_EQ(b.id, (std::array<uint8_t, 8>{8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_NE(a.key, b.key);
}

TEST(MinisignSignature, OnlyTheExactFormParses) {
  const MinisignSigner signer(1);
  const std::string good = signer.Sign("data");
  const std::vector<std::string> lines = SplitLines(good);
  const std::vector<ParseCase> cases = {
      {"prehashed", good, -1},
      {"legacy", signer.Sign("data", false), -1},
      {"CR LF line ends", signer.Sign("data", true, "c", "\r\n"), -1},
      {"empty trusted comment", signer.Sign("data", true, ""), -1},
      {"empty", "", 0},
      {"cut after the signature", JoinLines({lines[0], lines[1]}), 2},
      {"cut after the trusted comment", JoinLines({lines[0], lines[1], lines[2]}), 3},
      {"an extra line", good + lines[3] + "\n", 5},
      {"no untrusted comment", WithLine(good, 0, "comment: x"), 1},
      {"no trusted comment", WithLine(good, 2, "comment: timestamp:1"), 3},
      {"unknown algorithm",
       WithLine(good, 1, Recoded(lines[1], [](std::string& r) { r[1] = 'X'; })), 2},
      {"signature one byte short",
       WithLine(good, 1, Recoded(lines[1], [](std::string& r) { r.pop_back(); })), 2},
      {"signature without padding", WithLine(good, 1, lines[1].substr(0, lines[1].size() - 1)), 2},
      {"signature, unused bits set", WithLine(good, 1, NonCanonical(lines[1])), 2},
      {"global signature, unused bits set", WithLine(good, 3, NonCanonical(lines[3])), 4},
      {"global signature with padding inside",
       WithLine(good, 3, lines[3].substr(0, 40) + "=" + lines[3].substr(41)), 4},
      {"global signature with a line end inside",
       WithLine(good, 3, lines[3].substr(0, 40) + "\r" + lines[3].substr(41)), 4},
  };
  ExpectParses(cases, [](const std::string& text, MinisignProblem* problem) {
    return ParseMinisignSignature(text, problem).has_value();
  });
  const MinisignSignature legacy = *ParseMinisignSignature(signer.Sign("d", false, "a\tb: c"));
  EXPECT_EQ(legacy.algorithm, MinisignAlgorithm::kPure);
  EXPECT_EQ(legacy.trustedComment, "a\tb: c");
  EXPECT_EQ(ParseMinisignSignature(good)->algorithm, MinisignAlgorithm::kPrehashed);
}

TEST(MinisignVerify, OnlyTheKeysOwnSignatureOfTheSameBytesVerifies) {
  const MinisignSigner signer(1), other(2, 99), sameIdOtherKey(2), otherId(1, 42);
  const std::string data = "program bytes \x01\x02\x03" + std::string(5000, 'p');
  std::string tampered = data;
  tampered[100] ^= 1;
  const std::vector<std::string> lines = SplitLines(signer.Sign(data));
  // The signature line of one file with the trusted comment and global signature of another.
  const std::vector<std::string> otherComment = SplitLines(signer.Sign(data, true, "other"));
  struct Case {
    const char* what;
    const MinisignSigner& key;
    std::string signature;
    std::string data;
    bool ok;
  } cases[] = {
      {"prehashed", signer, signer.Sign(data), data, true},
      {"legacy", signer, signer.Sign(data, false), data, true},
      {"empty file", signer, signer.Sign(""), "", true},
      {"empty file, legacy", signer, signer.Sign("", false), "", true},
      {"CR LF signature", signer, signer.Sign(data, true, "t", "\r\n"), data, true},
      {"tampered file", signer, signer.Sign(data), tampered, false},
      {"tampered file, legacy", signer, signer.Sign(data, false), tampered, false},
      {"file cut short", signer, signer.Sign(data), data.substr(0, data.size() - 1), false},
      {"signature of another file", signer, signer.Sign("another"), data, false},
      {"signed by another key", signer, other.Sign(data), data, false},
      {"another key with the same id", sameIdOtherKey, signer.Sign(data), data, false},
      {"key id differs", otherId, signer.Sign(data), data, false},
      {"tampered trusted comment", signer,
       WithLine(JoinLines(lines), 2, "trusted comment: timestamp:1700000000\tfile:other"), data,
       false},
      {"global signature of another comment", signer,
       JoinLines({lines[0], lines[1], lines[2], otherComment[3]}), data, false},
      {"global signature zeroed", signer,
       WithLine(JoinLines(lines), 3, Base64(std::array<uint8_t, 64>{}.data(), 64)), data, false},
      {"prehashed signature relabelled legacy", signer,
       WithLine(JoinLines(lines), 1, Recoded(lines[1], [](std::string& r) { r[1] = 'd'; })), data,
       false},
  };
  for (const Case& c : cases) {
    const std::optional<MinisignKey> key = ParseMinisignKey(c.key.PublicKeyFile());
    const std::optional<MinisignSignature> signature = ParseMinisignSignature(c.signature);
    ASSERT_TRUE(key && signature) << c.what;
    EXPECT_EQ(VerifyMinisign(*key, *signature, reinterpret_cast<const uint8_t*>(c.data.data()),
                             c.data.size()),
              c.ok)
        << c.what;
  }
}

}  // namespace
}  // namespace mc
