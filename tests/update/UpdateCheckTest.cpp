#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/LvkMessages.h"
#include "framework/MemoryProfile.h"
#include "res/ResourceIds.h"
#include "update/UpdateCheck.h"
#include "update/UpdateCommandTarget.h"
#include "viewer/CommandState.h"

namespace {

using viewer::UpdateCheck;

// Records every call as a word, the texts shown and the answers given.
class FakeHost : public viewer::UpdateHost {
 public:
  bool StartLauncher() override {
    calls.push_back("start");
    return startResult;
  }
  void ShowMessage(const char* text) override { shown.push_back(text); }
  bool AskYesNo(const char* text) override {
    asked.push_back(text);
    return answer;
  }
  void OpenProgressDialog() override { calls.push_back("dialog"); }
  void ContinueUpdate() override { calls.push_back("continue"); }
  void CancelUpdate() override { calls.push_back("cancel"); }
  void QuitForInstaller() override { calls.push_back("quit"); }

  bool startResult = true;
  bool answer = true;
  std::vector<std::string> calls, shown, asked;
};

std::string LastCheck(const fw::MemoryProfile& profile) {
  return profile.GetString(viewer::kAutoUpdateSection, viewer::kLastConnectDate, "");
}

struct UpdateCheckTest : ::testing::Test {
  void Reports(std::initializer_list<int> codes) {
    for (int c : codes) check.OnReport(host, c);
  }
  FakeHost host;
  fw::MemoryProfile profile;
  UpdateCheck check;
};

TEST(FormatCheckDate, PadsYearMonthAndDay) {
  EXPECT_EQ(viewer::FormatCheckDate(2026, 12, 7), "20261207");
  EXPECT_EQ(viewer::FormatCheckDate(987, 1, 2), "09870102");
}

TEST_F(UpdateCheckTest, AutomaticCheckRunsOncePerDayAndRecordsTheDateFirst) {
  check.StartAutomatic(host, 1, profile, "20261207");
  EXPECT_EQ(host.calls, std::vector<std::string>{"start"});
  EXPECT_EQ(LastCheck(profile), "20261207");
  EXPECT_EQ(check.GetState(), UpdateCheck::kAutomatic);
  EXPECT_FALSE(check.CommandEnabled());

  // A failed connection stays silent and does not undo the date.
  Reports({LVK_STARTED, LVK_INFO_FAILED, LVK_FINISHED});
  EXPECT_TRUE(host.shown.empty());
  EXPECT_EQ(check.GetState(), UpdateCheck::kIdle);
  EXPECT_TRUE(check.CommandEnabled());

  check.StartAutomatic(host, 1, profile, "20261207");
  EXPECT_EQ(host.calls.size(), 1u);
  // The next day runs again.
  check.StartAutomatic(host, 1, profile, "20261208");
  EXPECT_EQ(host.calls.size(), 2u);
  EXPECT_EQ(LastCheck(profile), "20261208");
}

TEST_F(UpdateCheckTest, SwitchOffNeitherChecksNorWritesButTheMenuStillWorks) {
  check.StartAutomatic(host, 0, profile, "20261207");
  EXPECT_TRUE(host.calls.empty());
  EXPECT_TRUE(profile.values.empty());
  check.StartRequested(host);
  EXPECT_EQ(host.calls, std::vector<std::string>{"start"});
  EXPECT_TRUE(profile.values.empty());
  EXPECT_EQ(check.GetState(), UpdateCheck::kRequested);
}

TEST_F(UpdateCheckTest, RunInProgressIgnoresFurtherStarts) {
  check.StartAutomatic(host, 1, profile, "20261207");
  check.StartRequested(host);
  check.StartAutomatic(host, 1, profile, "20261208");
  EXPECT_EQ(host.calls.size(), 1u);
  EXPECT_TRUE(host.shown.empty());
  EXPECT_EQ(LastCheck(profile), "20261207");
}

TEST_F(UpdateCheckTest, RefusedStartTellsOnlyTheUserWhoAsked) {
  host.startResult = false;
  check.StartAutomatic(host, 1, profile, "20261207");
  EXPECT_TRUE(host.shown.empty());
  EXPECT_EQ(LastCheck(profile), "20261207");  // the day counts as checked
  EXPECT_TRUE(check.CommandEnabled());
  check.StartRequested(host);
  EXPECT_EQ(host.shown, std::vector<std::string>{viewer::kUpdateAlreadyRunning});
  EXPECT_EQ(check.GetState(), UpdateCheck::kIdle);
}

TEST_F(UpdateCheckTest, MenuCheckTellsEachOutcomeExactlyOnce) {
  struct Case {
    std::vector<int> codes;
    const char* text;
  } cases[] = {
      {{LVK_STARTED, LVK_NO_UPDATE, LVK_FINISHED}, viewer::kUpdateNone},
      {{LVK_STARTED, LVK_INFO_FAILED, LVK_FINISHED}, viewer::kUpdateConnectFailed},
      {{LVK_ERROR, LVK_FINISHED}, viewer::kUpdateConnectFailed},
      // The checker ended without any outcome.
      {{LVK_STARTED, LVK_FINISHED}, viewer::kUpdateConnectFailed},
  };
  for (const Case& c : cases) {
    FakeHost h;
    UpdateCheck u;
    u.StartRequested(h);
    for (int code : c.codes) u.OnReport(h, code);
    EXPECT_EQ(h.shown, std::vector<std::string>{c.text}) << c.codes[1];
    EXPECT_TRUE(u.CommandEnabled());
  }
}

TEST_F(UpdateCheckTest, AutomaticCheckWithoutUpdateIsSilent) {
  check.StartAutomatic(host, 1, profile, "20261207");
  Reports({LVK_STARTED, LVK_NO_UPDATE, LVK_FINISHED});
  EXPECT_TRUE(host.shown.empty());
  EXPECT_TRUE(host.asked.empty());
}

TEST_F(UpdateCheckTest, YesOpensTheDialogBeforeContinuingAndAFailedDownloadIsToldOnce) {
  check.StartAutomatic(host, 1, profile, "20261207");
  Reports({LVK_STARTED, LVK_ASK_UPDATE});
  EXPECT_EQ(host.asked, std::vector<std::string>{viewer::kUpdateQuestion});
  EXPECT_EQ(host.calls, (std::vector<std::string>{"start", "dialog", "continue"}));
  EXPECT_FALSE(check.CommandEnabled());
  Reports({LVK_DOWNLOAD_SIZE, LVK_DOWNLOAD_PROGRESS, LVK_UPDATE_FAILED, LVK_FINISHED});
  EXPECT_EQ(host.shown, std::vector<std::string>{viewer::kUpdateDownloadFailed});
  EXPECT_TRUE(check.CommandEnabled());

  // Same for a check from the menu: no connection message follows.
  FakeHost h;
  UpdateCheck u;
  u.StartRequested(h);
  for (int code : {LVK_STARTED, LVK_ASK_UPDATE, LVK_DOWNLOAD_SIZE, LVK_UPDATE_FAILED, LVK_FINISHED})
    u.OnReport(h, code);
  EXPECT_EQ(h.shown, std::vector<std::string>{viewer::kUpdateDownloadFailed});
}

TEST_F(UpdateCheckTest, NoCancelsAndNothingMoreIsShown) {
  host.answer = false;
  check.StartRequested(host);
  Reports({LVK_STARTED, LVK_ASK_UPDATE});
  EXPECT_EQ(host.calls, (std::vector<std::string>{"start", "cancel"}));
  EXPECT_EQ(check.GetState(), UpdateCheck::kSettled);
  Reports({LVK_CANCELLED});
  EXPECT_EQ(check.GetState(), UpdateCheck::kCancelled);
  Reports({LVK_FINISHED});
  EXPECT_TRUE(host.shown.empty());
  EXPECT_TRUE(check.CommandEnabled());
}

TEST_F(UpdateCheckTest, ReadyQuitsAtOnce) {
  check.StartRequested(host);
  Reports({LVK_STARTED, LVK_ASK_UPDATE, LVK_DOWNLOAD_SIZE, LVK_DOWNLOADED, LVK_READY});
  EXPECT_EQ(host.calls.back(), "quit");
  EXPECT_EQ(check.GetState(), UpdateCheck::kSettled);
  EXPECT_TRUE(host.shown.empty());
}

TEST_F(UpdateCheckTest, UnknownCodesChangeNothing) {
  check.StartRequested(host);
  Reports({0, 1001, LVK_CMD_CONTINUE, LVK_DOWNLOADED, -5});
  EXPECT_EQ(check.GetState(), UpdateCheck::kRequested);
  EXPECT_TRUE(host.shown.empty());
}

// The menu's update command: offered only while no run is in progress.
TEST_F(UpdateCheckTest, CommandOfferedBetweenRuns) {
  UpdateCommandTarget command(host);
  EXPECT_TRUE(StateOf(command, ID_UPDATE_CHECK).enabled);
  EXPECT_TRUE(RunCommand(command, ID_UPDATE_CHECK));
  EXPECT_EQ(command.GetState(), UpdateCheck::kRequested);
  EXPECT_FALSE(StateOf(command, ID_UPDATE_CHECK).enabled);
  command.OnReport(LVK_STARTED);
  command.OnReport(LVK_NO_UPDATE);
  EXPECT_FALSE(StateOf(command, ID_UPDATE_CHECK).enabled);
  command.OnReport(LVK_FINISHED);
  EXPECT_TRUE(StateOf(command, ID_UPDATE_CHECK).enabled);
  EXPECT_EQ(host.shown, std::vector<std::string>{viewer::kUpdateNone});
}

}  // namespace
