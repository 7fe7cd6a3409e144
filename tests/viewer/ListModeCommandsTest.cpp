// The view's list commands on a scripted catalogue: what each command
// changes and the check and enable states the menus and tool bars show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ListModeCommandTarget.h"
#include "fonts/FakeFontSystem.h"
#include "res/ResourceIds.h"
#include "viewer/CommandState.h"

namespace {

class FakeSite : public ListModeCommandTarget::Site {
 public:
  int SelectedRow() const override { return row; }
  void RefreshAndRepaint() override { calls.push_back("refresh"); }
  void RedrawMarks() override { calls.push_back("redraw"); }
  void SaveSettings() override { calls.push_back("save"); }
  void Warn(unsigned, unsigned captionId) override { calls.push_back("warn " + std::to_string(captionId)); }

  int row = 0;
  std::vector<std::string> calls;
};

class ListModeCommandsTest : public ::testing::Test {
 protected:
  ListModeCommandsTest() {
    system.Add("Arial", 0);
    system.Add("Century", 0);
    fonts.Rebuild(true);
  }
  CommandState State(unsigned id) { return StateOf(commands, id); }

  FakeFontSystem system;
  DisplaySettings settings;
  CFontList fonts{system, &settings};
  FakeSite site;
  ListModeCommandTarget commands{settings, fonts, site};
};

constexpr CommandState kOn{true, 1}, kOff{true, 0};

TEST_F(ListModeCommandsTest, SwitchesAndModesCheckWhatTheSettingsSay) {
  settings.SelLangEN = 1;
  settings.SelLangJA = settings.SelLangALL = 0;
  settings.SelFontORG = 1;
  settings.SelFontTMP = 0;
  EXPECT_EQ(State(ID_LANG_WESTERN), kOn);
  EXPECT_EQ(State(ID_LANG_JAPANESE), kOff);
  EXPECT_EQ(State(ID_LANG_ALL), kOff);

  EXPECT_TRUE(RunCommand(commands, ID_LANG_JAPANESE));
  EXPECT_TRUE(RunCommand(commands, ID_LANG_WESTERN));
  EXPECT_EQ(State(ID_LANG_JAPANESE), kOn);
  EXPECT_EQ(State(ID_LANG_WESTERN), kOff);
  // Turning off the only kind shown turns the other one on.
  EXPECT_TRUE(RunCommand(commands, ID_KIND_REGISTERED));
  EXPECT_EQ(State(ID_KIND_REGISTERED), kOff);
  EXPECT_EQ(State(ID_KIND_TEMPORARY), kOn);

  // The three modes are one choice.
  const unsigned modes[] = {ID_MODE_STANDARD, ID_MODE_FAVOURITES, ID_MODE_CANDIDATES};
  for (unsigned chosen : modes) {
    EXPECT_TRUE(RunCommand(commands, chosen));
    for (unsigned mode : modes) EXPECT_EQ(State(mode), mode == chosen ? kOn : kOff) << chosen << " " << mode;
  }
  EXPECT_EQ(site.calls, std::vector<std::string>(6, "refresh"));
  EXPECT_FALSE(RunCommand(commands, ID_UPDATE_CHECK));  // not a list command
}

TEST_F(ListModeCommandsTest, MarksOfferOnlyWhatChangesTheSelectedRow) {
  EXPECT_EQ(State(ID_FAVOURITE_ADD), kOff);
  EXPECT_EQ(State(ID_FAVOURITE_REMOVE), (CommandState{false, 0}));
  EXPECT_EQ(State(ID_CANDIDATE_REMOVE), (CommandState{false, 0}));

  EXPECT_TRUE(RunCommand(commands, ID_FAVOURITE_ADD));
  EXPECT_TRUE(RunCommand(commands, ID_CANDIDATE_ADD));
  EXPECT_EQ(settings.Favourites, std::vector<std::string>{"Arial"});
  EXPECT_EQ(site.calls, (std::vector<std::string>{"redraw", "save", "redraw"}));  // candidates are not kept
  EXPECT_FALSE(State(ID_FAVOURITE_ADD).enabled);
  EXPECT_TRUE(State(ID_FAVOURITE_REMOVE).enabled);
  EXPECT_FALSE(State(ID_CANDIDATE_ADD).enabled);
  EXPECT_TRUE(State(ID_CANDIDATE_REMOVE).enabled);

  // No selection: nobody decides, so the commands show enabled.
  site.row = -1;
  for (unsigned id : {ID_FAVOURITE_ADD, ID_FAVOURITE_REMOVE, ID_CANDIDATE_ADD, ID_CANDIDATE_REMOVE})
    EXPECT_TRUE(State(id).enabled) << id;
}

TEST_F(ListModeCommandsTest, AFullFavouritesListRefusesWithAWarning) {
  settings.FavMax = 1;
  settings.Favourites = {"Arial"};
  fonts.Rebuild(true);
  site.row = 1;  // Century, not a favourite
  EXPECT_FALSE(State(ID_FAVOURITE_ADD).enabled);
  // A command that arrives all the same (context menu, posted) changes nothing.
  EXPECT_TRUE(RunCommand(commands, ID_FAVOURITE_ADD));
  EXPECT_EQ(site.calls, std::vector<std::string>{"warn " + std::to_string(IDS_FAVOURITE_LIMIT_CAPTION)});
  EXPECT_EQ(settings.Favourites, std::vector<std::string>{"Arial"});
  EXPECT_EQ(fonts.GetFont(1).favourite, 0);
}

}  // namespace
