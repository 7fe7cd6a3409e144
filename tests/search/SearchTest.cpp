// Folding of names and search text, and finding faces by any of their names.
#include <gtest/gtest.h>

#include "fonttables/Text.h"
#include "search/FaceSearch.h"
#include "search/Fold.h"
#include "search/NameIndex.h"

using namespace search;
using fonttables::ToUtf8;

TEST(FoldTest, TextsReadAlikeFoldAlike) {
  const struct {
    std::u16string_view text, folded;
  } cases[] = {
      {u"IPAGothic", u"ipagothic"},
      {u"ＩＰＡｇｏｔｈｉｃ　１２３", u"ipagothic 123"},  // full-width letters, digits, space
      {u"！＃（）～", u"!#()~"},
      {u"ｺﾞｼｯｸ", u"ゴシック"},  // half-width katakana, voiced mark composed
      {u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ ｳﾞ ﾜﾞ", u"パピプペポ ヴ ヷ"},
      {u"ﾏﾞﾟ", u"マ゛゜"},  // no composed form: the marks stay, full-width
      {u"ｶﾞﾞ", u"ガ゛"},    // one mark composes, the next does not
      {u"ﾞｱ", u"゛ア"},
      {u"｢ﾒｲﾘｵ｣､｡･ｰ", u"「メイリオ」、。・ー"},
      {u"ごしっく ゔ ゝゞ", u"ゴシック ヴ ヽヾ"},  // hiragana
      {u"か\u3099は\u309Aカ\u3099", u"ガパガ"},    // combining marks
      {u"ゴシック明朝ぁァ", u"ゴシック明朝ァァ"},  // small kana stay small
      {u"ÀÉÖ×Ø ΑΩ АЯЀЏ", u"àéö×ø αω аяѐџ"},
      {u"\U00020B9F", u"\U00020B9F"},  // a surrogate pair passes through
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8(Fold(c.text)), ToUtf8(c.folded)) << ToUtf8(c.text);
}

TEST(FoldTest, Cp932NamesDecodeCharacterByCharacter) {
  const struct {
    const char* cp932;
    std::u16string_view folded;
  } cases[] = {
      {"ＭＳ ゴシック", u"ms ゴシック"},
      {"ｿﾌﾄ\\", u"ソフト\\"},
      {"ソ表", u"ソ表"},    // trail bytes 0x5C and 0x95 are not ASCII
      {"\x83", u"\uFFFD"},  // a lead byte cut off
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8(FoldCp932(c.cp932)), ToUtf8(c.folded)) << c.cp932;
}

TEST(NameIndexTest, FindsFacesByAnyName) {
  NameIndex index;
  index.Add({"IPAゴシック", u"IPAゴシック", u"IPAGothic"});
  index.Add({"ＭＳ 明朝", u"ＭＳ 明朝", u"MS Mincho"});
  index.Add({"Arial", u"", u"Arial"});
  index.Add({"ソフトゴシック", u"", u""});
  const struct {
    std::u16string_view typed;
    std::vector<std::size_t> faces;
  } cases[] = {
      {u"gothic", {0}},
      {u"ＧＯＴＨ", {0}},
      {u"ごしっく", {0, 3}},
      {u"ｺﾞｼｯｸ", {0, 3}},
      {u"ms m", {1}},
      {u"ｍｓ　明", {1}},
      {u"  arial ", {2}},  // spaces around the text are not searched for
      {u"ipa ", {0}},
      {u"", {0, 1, 2, 3}},
      {u"　 ", {0, 1, 2, 3}},
      {u"コシック", {}},  // a voiced kana is not
                          // its plain one
      {u"gothic mincho", {}},
      {u"ゴシックG", {}},  // no match across two names
  };
  for (const auto& c : cases) EXPECT_EQ(index.Filter(Query(c.typed)), c.faces) << ToUtf8(c.typed);

  EXPECT_EQ(index.Filter(Query::FromCp932("ｿﾌﾄ")), std::vector<std::size_t>{3});
  EXPECT_EQ(index.Filter(Query::FromCp932("\\")), std::vector<std::size_t>{});  // ソ ends in 0x5C
  EXPECT_FALSE(index.Matches(4, Query(u"")));
  index.clear();
  EXPECT_EQ(index.size(), 0u);
  EXPECT_TRUE(index.Filter(Query(u"")).empty());
}

TEST(FaceSearchTest, KeepsFacesByNamesThatArriveLater) {
  FaceSearch search;
  EXPECT_FALSE(search.Narrowing());
  EXPECT_TRUE(search.Keeps("any face"));  // nothing typed: every face, even one not indexed

  // First only the enumerated names; the 'name' tables come later.
  const std::vector<FaceNames> enumerated = {{"IPAゴシック", {}, {}}, {"グリムラ試験 0001", {}, {}}, {"Arial", {}, {}}};
  EXPECT_FALSE(search.SetFaces(enumerated));
  EXPECT_TRUE(search.SetText("glimra"));  // the list is narrowed now, to no face
  EXPECT_TRUE(search.Narrowing());
  EXPECT_FALSE(search.Keeps("グリムラ試験 0001"));
  EXPECT_FALSE(search.SetText("glimra "));  // the same faces: the list stays

  const std::vector<FaceNames> named = {{"IPAゴシック", u"IPAゴシック", u"IPAGothic"},
                                        {"グリムラ試験 0001", u"グリムラ試験 0001", u"Glimra Test 0001"},
                                        {"Arial", u"", u"Arial"},
                                        {"グリムラ試験 0001", u"", u"Other"}};  // listed twice: the first counts
  EXPECT_TRUE(search.SetFaces(named));                                          // a face came in
  EXPECT_FALSE(search.SetFaces(named));
  EXPECT_EQ(search.FaceCount(), 3u);
  const struct {
    const char* typed;
    std::vector<const char*> kept;
  } cases[] = {
      {"GLIMRA test", {"グリムラ試験 0001"}},
      {"ぐりむら", {"グリムラ試験 0001"}},
      {"ｸﾞﾘﾑﾗ", {"グリムラ試験 0001"}},
      {"ｇｌｉｍｒａ　ｔｅｓｔ　０００１", {"グリムラ試験 0001"}},
      {"ipag", {"IPAゴシック"}},
      {"a", {"IPAゴシック", "グリムラ試験 0001", "Arial"}},
      {"other", {}},
      {"ｉｎｄｅｘ", {"not indexed"}},  // not folded beforehand: its own name only
      {"  ", {"IPAゴシック", "グリムラ試験 0001", "Arial", "not indexed"}},
  };
  for (const auto& c : cases) {
    search.SetText(c.typed);
    std::vector<const char*> kept;
    for (const char* face : {"IPAゴシック", "グリムラ試験 0001", "Arial", "not indexed"})
      if (search.Keeps(face)) kept.push_back(face);
    EXPECT_EQ(std::vector<std::string>(kept.begin(), kept.end()),
              std::vector<std::string>(c.kept.begin(), c.kept.end()))
        << c.typed;
  }

  EXPECT_TRUE(search.SetText("ｇｌｉｍｒａ"));
  EXPECT_FALSE(search.SetText("グリムラ試験"));  // other names of the same face
  EXPECT_TRUE(search.SetText(""));               // lifted

  // A catalogue without the face: it is no longer kept.
  search.SetText("glimra");
  EXPECT_TRUE(search.SetFaces({{"IPAゴシック", u"IPAゴシック", u"IPAGothic"}}));
  EXPECT_FALSE(search.Keeps("グリムラ試験 0001"));
}

TEST(FaceSearchTest, EnglishSuffixOnlyWhenItAddsSomething) {
  const struct {
    const char* face;
    std::u16string_view english, suffix;
  } cases[] = {
      {"IPAゴシック", u"IPAGothic", u" / IPAGothic"},
      {"Arial", u"Arial", u""},
      {"ＡＲＩＡＬ", u"arial", u""},  // the same name in another width and case
      {"ＭＳ 明朝", u"", u""},        // unknown
      {"グリムラ試験 0001", u"Glimra Test 0001", u" / Glimra Test 0001"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8(EnglishSuffix(c.face, c.english)), ToUtf8(c.suffix)) << c.face;
}
