// Tokenizer, URL split, version comparison, information file, command line,
// trace gathering and progress bar steps.
#include <gtest/gtest.h>

#include "checker/BarSteps.h"
#include "checker/CommandLine.h"
#include "checker/SplitString.h"
#include "checker/Trace.h"
#include "checker/UpdateInfo.h"
#include "checker/Url.h"

using namespace checker;
using Tokens = std::vector<std::string>;

namespace {
// "表" and "ソ" in code page 932 end in 0x5C, a backslash.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

struct QuietTrace {
  QuietTrace() {
    SetTraceSink([this](std::string_view l) { lines += l; });
  }
  ~QuietTrace() { SetTraceSink(nullptr); }
  std::string lines;
};
}  // namespace

TEST(SplitString, DropsEmptyTokensBetweenDelimiters) {
  Tokens t{"old"};
  EXPECT_EQ(SplitString("  a\tb\r\n\r\nc  ", " \t\r\n", t), 3);
  EXPECT_EQ(t, (Tokens{"a", "b", "c"}));
  EXPECT_EQ(SplitString("", " ", t), 0);
  EXPECT_TRUE(t.empty());
}

TEST(SplitString, FlagsKeepEmptyAndEmitDelimiters) {
  Tokens t;
  SplitString("a,,b", ",", t, true);
  EXPECT_EQ(t, (Tokens{"a", "", "b"}));
  SplitString("a,b;", ",;", t, false, false, true);
  EXPECT_EQ(t, (Tokens{"a", ",", "b", ";"}));
}

TEST(SplitString, QuotesProtectDelimitersAndStayInTheToken) {
  Tokens t;
  SplitString("\"C:\\Program Files\\x\" next", " ", t);
  EXPECT_EQ(t, (Tokens{"\"C:\\Program Files\\x\"", "next"}));
  SplitString("ab\"c d\"e f", " ", t);
  EXPECT_EQ(t, (Tokens{"ab\"c d\"e", "f"}));
  SplitString("\"a b\" c", " ", t, false, true);
  EXPECT_EQ(t, (Tokens{"\"a", "b\"", "c"}));
  // An unclosed quote runs to the end of the text.
  SplitString("x \"y z\nw", " \n", t);
  EXPECT_EQ(t, (Tokens{"x", "\"y z\nw"}));
}

TEST(SplitString, DoubleByteTrailByteIsNoDelimiter) {
  Tokens t;
  SplitString(kSo + "\\" + kHyo + kSo, "\\", t);
  EXPECT_EQ(t, (Tokens{kSo, kHyo + kSo}));
}

TEST(StripQuotes, RemovesOnePairOnly) {
  EXPECT_EQ(StripQuotes("\"a b\""), "a b");
  EXPECT_EQ(StripQuotes("\"\"x\"\""), "\"x\"");
  EXPECT_EQ(StripQuotes("\""), "");
  EXPECT_EQ(StripQuotes("\"\""), "");
  EXPECT_EQ(StripQuotes("\"abc"), "\"abc");
  EXPECT_EQ(StripQuotes("abc\""), "abc\"");
  EXPECT_EQ(StripQuotes("\"" + kHyo + "\""), kHyo);
}

TEST(SplitUrl, SplitsHostPortAndPath) {
  UrlParts u;
  ASSERT_TRUE(SplitUrl("http://name:8080/a/b.dat", u));
  EXPECT_EQ(u.scheme, "http");
  EXPECT_EQ(u.host, "name");
  EXPECT_EQ(u.port, 8080);
  EXPECT_EQ(u.path, "/a/b.dat");
  ASSERT_TRUE(SplitUrl("http://name/", u));
  EXPECT_EQ(u.host, "name");
  EXPECT_EQ(u.port, 0);
  EXPECT_EQ(u.path, "/");
  ASSERT_TRUE(SplitUrl("http://name", u));
  EXPECT_EQ(u.host, "name");
  EXPECT_EQ(u.path, "/");
  ASSERT_TRUE(SplitUrl("http://name:81", u));
  EXPECT_EQ(u.host, "name");
  EXPECT_EQ(u.port, 81);
  EXPECT_EQ(u.path, "/");
  ASSERT_TRUE(SplitUrl("HTTP://x/y", u));
  EXPECT_EQ(u.scheme, "HTTP");  // the transfer rejects it: only "http" is accepted
  EXPECT_FALSE(SplitUrl("http:/name/x", u));
}

TEST(SplitUrl, ColonInPathIsTakenAsPortColon) {
  UrlParts u;
  ASSERT_TRUE(SplitUrl("http://h/a:b/c", u));
  EXPECT_EQ(u.host, "h/a");
  EXPECT_EQ(u.port, 0);
  EXPECT_EQ(u.path, "/c");
  ASSERT_TRUE(SplitUrl("http://h: 90x/p", u));
  EXPECT_EQ(u.port, 90);
}

TEST(ParseDecimal, ReadsLeadingDigitsLikeAtoi) {
  EXPECT_EQ(ParseDecimal("  1234abc"), 1234);
  EXPECT_EQ(ParseDecimal("-12"), -12);
  EXPECT_EQ(ParseDecimal("+7"), 7);
  EXPECT_EQ(ParseDecimal("x1"), 0);
  EXPECT_EQ(ParseDecimal(""), 0);
}

TEST(CompareVersion, IsTextualAndCaseBlind) {
  EXPECT_EQ(CompareVersion("02001", "02001"), 0);
  EXPECT_LT(CompareVersion("02000", "02001"), 0);
  EXPECT_GT(CompareVersion("2000", "02001"), 0);  // fewer digits: textual, so greater
  EXPECT_LT(CompareVersion("0200", "02001"), 0);  // a prefix is the smaller
  EXPECT_EQ(CompareVersion("v1A", "V1a"), 0);
  EXPECT_GT(CompareVersion(kHyo, "z"), 0);  // a double-byte character is one unit
}

TEST(UpdateInfo, FirstApplicableLineWins) {
  QuietTrace trace;
  std::string url;
  std::string text =
      "# comment R 00000 99999 http://c/x\r\n"
      "R 00000 01999 http://a/old.upd\r\n"
      "R 02000 02001 http://a/new.upd extra fields\n"
      "\n"
      "R 00000 99999 http://a/later.upd\n";
  EXPECT_EQ(FindUpdateLine(text, "02001", url), 1);
  EXPECT_EQ(url, "http://a/new.upd");
  EXPECT_EQ(trace.lines, "info R 00000 01999 http://a/old.upd\ninfo R 02000 02001 http://a/new.upd extra fields\n");
}

TEST(UpdateInfo, SkipsShortLinesOtherKeysAndNonMatchingRanges) {
  QuietTrace trace;
  std::string url = "unchanged";
  EXPECT_EQ(FindUpdateLine("", "02001", url), 0);
  EXPECT_EQ(FindUpdateLine("# only a comment\n#R 0 9 http://x\n", "02001", url), 0);
  EXPECT_EQ(FindUpdateLine("R 00000 99999\nX 00000 99999 http://x\nR 2000 2999 http://y\n", "02001", url), 0);
  EXPECT_EQ(url, "unchanged");
  EXPECT_EQ(FindUpdateLine("r\t02001\t02001\thttp://lower", "02001", url), 1);
  EXPECT_EQ(url, "http://lower");
}

TEST(UpdateInfo, QuotedFieldsAndUnclosedQuotes) {
  QuietTrace trace;
  std::string url;
  EXPECT_EQ(FindUpdateLine("\"R\" \"02000\" 02002 \"http://h/a b.upd\"", "02001", url), 1);
  EXPECT_EQ(url, "http://h/a b.upd");
  // The open quote swallows the next line, so the line that would apply is gone.
  EXPECT_EQ(FindUpdateLine("X \"1 2 3\nR 00000 99999 http://h/p\n", "02001", url), 0);
}

TEST(UpdateInfo, FetchFailureIsMinusOne) {
  QuietTrace trace;
  std::string url;
  auto failing = [](const std::string&, std::string&) { return 0; };
  EXPECT_EQ(CheckUpdateInfo(failing, "http://h/i", "02001", url), -1);
  EXPECT_EQ(trace.lines, "Connecting http://h/i\n");
  auto serving = [](const std::string&, std::string& t) {
    t = "R 0 9 http://h/p";
    return 1;
  };
  EXPECT_EQ(CheckUpdateInfo(serving, "http://h/i", "5", url), 1);
  EXPECT_EQ(url, "http://h/p");
}

TEST(CommandLine, NormalFormHasSevenUnquotedFields) {
  auto cl =
      ParseCommandLine("\"C:\\A B\\Mervik.exe\" http://h/i.dat 02001 12 34 \"C:\\A B\\\" \"C:\\A B\\Glimra.exe\"");
  EXPECT_FALSE(cl.maintenance);
  EXPECT_EQ(cl.fields,
            (Tokens{"C:\\A B\\Mervik.exe", "http://h/i.dat", "02001", "12", "34", "C:\\A B\\", "C:\\A B\\Glimra.exe"}));
}

TEST(CommandLine, MaintenanceOptionsInOrder) {
  auto cl =
      ParseCommandLine("m.exe -WaitProcess 42 junk -remove \"C:\\t f\\\" -exec \"C:\\x.exe\" a \"b c\" -remove d");
  ASSERT_TRUE(cl.maintenance);
  ASSERT_EQ(cl.steps.size(), 3u);
  EXPECT_EQ(cl.steps[0].kind, MaintenanceStep::WaitProcess);
  EXPECT_EQ(cl.steps[0].argument, "42");
  EXPECT_EQ(cl.steps[1].kind, MaintenanceStep::RemoveFolder);
  EXPECT_EQ(cl.steps[1].argument, "C:\\t f\\");
  EXPECT_EQ(cl.steps[2].kind, MaintenanceStep::Exec);
  EXPECT_EQ(cl.steps[2].argument, "C:\\x.exe a b c -remove d");
}

TEST(CommandLine, KeywordWithoutArgumentStillMakesMaintenance) {
  auto cl = ParseCommandLine("m.exe http://h/i 02001 0 0 f p -exec");
  EXPECT_TRUE(cl.maintenance);
  EXPECT_TRUE(cl.steps.empty());
  EXPECT_FALSE(ParseCommandLine("-exec a b").maintenance);  // field 0 is the program
}

TEST(Trace, GatheredLinesWaitForTheNextLineAndKeepTheirOrder) {
  std::vector<std::string> writes;
  SetTraceSink([&](std::string_view text) { writes.emplace_back(text); });
  Trace("MtxContinueUpdate, %X\n", 0u);
  for (int i = 1; i <= 3; ++i) TraceGathered("SendLvkMessage 1442 %d\n", i * 1024);
  EXPECT_EQ(writes.size(), 1u);
  Trace("MtxCompDownloadData %d\n", 1);
  TraceGathered("SendLvkMessage 1442 %d\n", 4096);
  FlushTrace();
  // A long line is formatted whole too.
  Trace("Data\n%s\n", std::string(1000, 'x').c_str());
  SetTraceSink(nullptr);
  ASSERT_EQ(writes.size(), 4u);
  EXPECT_EQ(writes[1],
            "SendLvkMessage 1442 1024\nSendLvkMessage 1442 2048\nSendLvkMessage 1442 3072\nMtxCompDownloadData 1\n");
  EXPECT_EQ(writes[2], "SendLvkMessage 1442 4096\n");
  EXPECT_EQ(writes[3], "Data\n" + std::string(1000, 'x') + "\n");
}

TEST(Trace, ManyGatheredLinesAreWrittenInWholeLines) {
  std::vector<std::string> writes;
  SetTraceSink([&](std::string_view text) { writes.emplace_back(text); });
  std::string expected;
  for (int i = 1; i <= 32768; ++i) {
    TraceGathered("SendLvkMessage 1442 %d\n", i * 1024);
    expected += "SendLvkMessage 1442 " + std::to_string(i * 1024) + "\n";
  }
  FlushTrace();
  SetTraceSink(nullptr);
  EXPECT_GT(writes.size(), 10u);  // bounded memory: written on the way
  EXPECT_LT(writes.size(), 100u);
  std::string all;
  for (const auto& w : writes) {
    EXPECT_EQ(w.back(), '\n');
    all += w;
  }
  EXPECT_EQ(all, expected);
}

TEST(BarSteps, PassesOnlyPositionsThatMoveTheBar) {
  struct Case {
    const char* what;
    int pixels, total, block;
    int minPassed, maxPassed;
  } cases[] = {
      {"32 MiB on 260 pixels", 260, 32 << 20, 1024, 260, 261},
      {"small package: every block", 260, 30000, 1024, 30, 30},
      {"no width known", 0, 32 << 20, 1024, 1000, 1001},
      {"one block", 260, 500, 500, 1, 1},
  };
  for (const auto& c : cases) {
    BarSteps steps(c.pixels);
    steps.SetRange(0, c.total);
    int passed = 0, last = -1;
    for (int pos = c.block; pos - c.block < c.total; pos += c.block) {
      int p = pos < c.total ? pos : c.total;
      if (steps.Moves(p)) {
        ++passed;
        last = p;
      }
    }
    EXPECT_GE(passed, c.minPassed) << c.what;
    EXPECT_LE(passed, c.maxPassed) << c.what;
    EXPECT_EQ(last, c.total) << c.what;  // the bar ends on the exact total
  }
}

TEST(BarSteps, DefaultRangeAndNewRange) {
  BarSteps steps(200);
  // Opened after the size was announced: bytes against the default 0..100.
  EXPECT_TRUE(steps.Moves(1024));
  EXPECT_FALSE(steps.Moves(2048));
  steps.SetRange(0, 4000);
  EXPECT_TRUE(steps.Moves(2048));  // a new range always shows its first position
  EXPECT_FALSE(steps.Moves(2049));
  EXPECT_TRUE(steps.Moves(4000));
  EXPECT_FALSE(steps.Moves(4000));
  steps.SetRange(0, 0);
  EXPECT_TRUE(steps.Moves(0));
  EXPECT_FALSE(steps.Moves(0));
}
