// Our code page 932 rules next to the system's, under Wine in the Japanese
// locale. Where they differ on purpose the difference is listed here.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Cp932.h"

namespace {

// Literals are code page 932 in the binary.
const std::vector<std::string> kSamples = {
    "Arial",
    "ARIAL",
    "arial black",
    "MS Gothic",
    "ms gothic",
    "c:\\tools\\glimra.exe",
    "\x83\x61"
    "a",           // ャa: trail byte 0x61 must stay
    "ソフト\\表",  // trail bytes 0x5C
    "ｱｲｳｴｵ",       // half-width katakana
    "ＭＳ ゴシック",
    "ＭＳ Ｐ明朝",
    "ｍｓ ｐ明朝",
    "IPAexGothic",
    "ipaexgothic",
    "",
};

std::string SystemUpper(std::string s) {
  std::vector<char> buf(s.begin(), s.end());
  buf.push_back('\0');
  CharUpperA(buf.data());
  return buf.data();
}

std::string SystemLower(std::string s) {
  std::vector<char> buf(s.begin(), s.end());
  buf.push_back('\0');
  CharLowerA(buf.data());
  return buf.data();
}

bool HasFullWidthLetter(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); i = cp932::Next(s, i)) {
    if (!cp932::IsDoubleByteAt(s, i)) continue;
    unsigned code = (static_cast<unsigned char>(s[i]) << 8) | static_cast<unsigned char>(s[i + 1]);
    if ((code >= 0x8260 && code <= 0x8279) || (code >= 0x8281 && code <= 0x829A)) return true;
  }
  return false;
}

TEST(SystemText, AnsiCodePageIs932) { EXPECT_EQ(GetACP(), 932u); }

TEST(SystemText, SystemAgreesOnLeadBytes) {
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(b)) != 0, cp932::IsLeadByte(static_cast<unsigned char>(b))) << b;
  }
}

// Difference: the system also cases full-width letters (ａ ↔ Ａ); our rule
// leaves every double-byte character untouched. Elsewhere the results agree.
TEST(SystemText, CasingAgreesExceptFullWidthLetters) {
  for (const auto& s : kSamples) {
    if (HasFullWidthLetter(s)) {
      EXPECT_EQ(cp932::ToUpper(s).size(), s.size());
      continue;
    }
    EXPECT_EQ(cp932::ToUpper(s), SystemUpper(s)) << s;
    EXPECT_EQ(cp932::ToLower(s), SystemLower(s)) << s;
  }
  EXPECT_NE(cp932::ToUpper("ｍｓ"), SystemUpper("ｍｓ")) << "the system now leaves full-width letters alone";
}

// Equality under the case-insensitive rule matches lstrcmpiA and
// CompareStringA(NORM_IGNORECASE), full-width case pairs included.
// Difference: the system's order is linguistic (punctuation and kana
// rules), ours is by character code, so only equality is compared.
TEST(SystemText, NoCaseEqualityAgreesWithSystem) {
  for (const auto& a : kSamples) {
    for (const auto& b : kSamples) {
      bool ours = cp932::EqualsNoCase(a, b);
      EXPECT_EQ(ours, lstrcmpiA(a.c_str(), b.c_str()) == 0) << a << " / " << b;
      int sys = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1);
      EXPECT_EQ(ours, sys == CSTR_EQUAL) << a << " / " << b;
    }
  }
}

TEST(SystemText, ExactComparisonMatchesByteOrder) {
  for (const auto& a : kSamples) {
    for (const auto& b : kSamples) {
      int ours = cp932::Compare(a, b);
      int crt = strcmp(a.c_str(), b.c_str());
      EXPECT_EQ(ours < 0, crt < 0) << a << " / " << b;
      EXPECT_EQ(ours == 0, crt == 0) << a << " / " << b;
    }
  }
}

TEST(SystemText, SteppingAgreesWithCharNextA) {
  for (const auto& s : kSamples) {
    const char* p = s.c_str();
    std::size_t ours = 0;
    while (*p) {
      const char* next = CharNextA(p);
      ours = cp932::Next(s, ours);
      EXPECT_EQ(static_cast<std::size_t>(next - s.c_str()), ours) << s;
      p = next;
    }
  }
}

}  // namespace
