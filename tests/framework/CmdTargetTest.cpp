// Message maps, command routing and command state, without windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CmdTarget.h"

namespace {

constexpr unsigned kOpen = 100, kSave = 101, kPrint = 102, kNobody = 103, kRangeFirst = 200, kRangeLast = 209;
constexpr unsigned kMsgPing = 0x400, kMsgPair = 0x401, kMsgPtr = 0x402, kMsgOverridden = 0x403;
constexpr unsigned kEditChange = 0x300;

using Log = std::vector<std::string>;

struct Base : fw::CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  explicit Base(Log& log) : log(log) {}
  Log& log;
  void OnOpen() { log.push_back("base.open"); }
  int OnOverridden() { return 1; }
  void OnUpdateOpen(fw::CCmdUI* ui) { ui->Enable(openEnabled); }
  bool openEnabled = true;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(Base, fw::CCmdTarget)
  fw::OnCommand(kOpen, &Base::OnOpen),
  fw::OnUpdateCommandUI(kOpen, &Base::OnUpdateOpen),
  fw::OnMessage(kMsgOverridden, &Base::OnOverridden),
FW_END_MESSAGE_MAP()
// clang-format on

struct Derived : Base {
  FW_DECLARE_MESSAGE_MAP()

 public:
  using Base::Base;
  int OnOverridden() { return 2; }
  long OnPing() { return 42; }
  long OnPair(unsigned w, long l) { return static_cast<long>(w) * 1000 + l; }
  int OnPtr(const char* text) { return text ? static_cast<int>(std::string(text).size()) : -1; }
  void OnSave() { log.push_back("derived.save"); }
  void OnRange(unsigned id) { log.push_back("range." + std::to_string(id)); }
  bool OnMaybe(unsigned id) {
    log.push_back("maybe." + std::to_string(id));
    return take;
  }
  void OnEditChange() { log.push_back("edit.change"); }
  void OnUpdateSave(fw::CCmdUI& ui) { ui.SetCheck(2); }
  bool take = false;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(Derived, Base)
  fw::OnMessage(kMsgOverridden, &Derived::OnOverridden),
  fw::OnMessage(kMsgPing, &Derived::OnPing),
  fw::OnMessage(kMsgPair, &Derived::OnPair),
  fw::OnMessage(kMsgPtr, &Derived::OnPtr),
  fw::OnCommand(kSave, &Derived::OnSave),
  fw::OnUpdateCommandUI(kSave, &Derived::OnUpdateSave),
  fw::OnCommandRange(kRangeFirst, kRangeLast, &Derived::OnRange),
  fw::OnCommand(kPrint, &Derived::OnMaybe),
  fw::OnControl(kEditChange, 1000, &Derived::OnEditChange),
FW_END_MESSAGE_MAP()
// clang-format on

std::intptr_t Call(const fw::CCmdTarget& t, unsigned msg, std::uintptr_t w = 0, std::intptr_t l = 0) {
  const fw::MessageEntry* e = t.FindEntry(fw::MessageEntry::Kind::Message, msg);
  if (!e) return -999;
  return e->handler(const_cast<fw::CCmdTarget&>(t), fw::MsgArgs{msg, w, l}, nullptr);
}

// A target that routes on to the next one, as view -> document -> frame -> application do.
struct Link : fw::CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  Link(std::string name, Log& log, Link* next = nullptr) : name(std::move(name)), log(log), next(next) {}
  bool OnCmdMsg(unsigned id, int code, fw::CCmdUI* ui) override {
    if (DispatchOwnCommand(id, code, ui)) return true;
    return next && next->OnCmdMsg(id, code, ui);
  }
  void OnShared() { log.push_back(name + ".shared"); }
  void OnOwn() { log.push_back(name + ".own"); }
  void OnUpdateOwn(fw::CCmdUI* ui) { ui->Enable(ownEnabled); }
  std::string name;
  Log& log;
  Link* next;
  bool ownEnabled = true;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(Link, fw::CCmdTarget)
FW_END_MESSAGE_MAP()
// clang-format on

// Each link of the chain gets its own table through a small subclass.
struct ViewLink : Link {
  FW_DECLARE_MESSAGE_MAP()
 public:
  using Link::Link;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(ViewLink, Link)
  fw::OnCommand(1, &ViewLink::OnShared),
FW_END_MESSAGE_MAP()
// clang-format on

struct FrameLink : Link {
  FW_DECLARE_MESSAGE_MAP()
 public:
  using Link::Link;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(FrameLink, Link)
  fw::OnCommand(1, &FrameLink::OnShared),
  fw::OnCommand(2, &FrameLink::OnOwn),
FW_END_MESSAGE_MAP()
// clang-format on

struct AppLink : Link {
  FW_DECLARE_MESSAGE_MAP()
 public:
  using Link::Link;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(AppLink, Link)
  fw::OnCommand(3, &AppLink::OnOwn),
  fw::OnUpdateCommandUI(3, &AppLink::OnUpdateOwn),
FW_END_MESSAGE_MAP()
// clang-format on

TEST(MessageMap, DerivedEntriesComeFirstAndBaseEntriesStillServe) {
  Log log;
  Derived d(log);
  EXPECT_EQ(Call(d, kMsgOverridden), 2);
  EXPECT_EQ(Call(d, kMsgPing), 42);
  EXPECT_EQ(Call(d, 0x7FF), -999);  // nobody maps it: the window's default processing
  EXPECT_TRUE(d.DispatchOwnCommand(kOpen, fw::kCmdCommand, nullptr));
  EXPECT_EQ(log, Log{"base.open"});
  Base b(log);
  EXPECT_EQ(Call(b, kMsgOverridden), 1);
  EXPECT_EQ(Call(b, kMsgPing), -999);
}

TEST(MessageMap, HandlersReceiveTheMessageParametersTheyDeclare) {
  Log log;
  Derived d(log);
  EXPECT_EQ(Call(d, kMsgPair, 7, -3), 6997);
  const char* text = "abcd";
  EXPECT_EQ(Call(d, kMsgPtr, 0, reinterpret_cast<std::intptr_t>(text)), 4);  // a pointer comes from lParam
  EXPECT_EQ(Call(d, kMsgPtr, 0, 0), -1);
}

TEST(MessageMap, CommandsByIdRangeAndNotificationCode) {
  Log log;
  Derived d(log);
  EXPECT_TRUE(d.DispatchOwnCommand(kRangeFirst + 3, fw::kCmdCommand, nullptr));
  EXPECT_TRUE(d.DispatchOwnCommand(kRangeLast, fw::kCmdCommand, nullptr));
  EXPECT_FALSE(d.DispatchOwnCommand(kRangeLast + 1, fw::kCmdCommand, nullptr));
  // A notification matches its code only; a plain command of the control's id does not reach it.
  EXPECT_FALSE(d.DispatchOwnCommand(1000, fw::kCmdCommand, nullptr));
  EXPECT_FALSE(d.DispatchOwnCommand(1000, 0x301, nullptr));
  EXPECT_TRUE(d.DispatchOwnCommand(1000, kEditChange, nullptr));
  EXPECT_EQ(log, (Log{"range.203", "range.209", "edit.change"}));
}

TEST(MessageMap, HandlerThatDeclinesLetsRoutingGoOn) {
  Log log;
  Derived d(log);
  EXPECT_FALSE(d.OnCmdMsg(kPrint, fw::kCmdCommand, nullptr));
  d.take = true;
  EXPECT_TRUE(d.OnCmdMsg(kPrint, fw::kCmdCommand, nullptr));
  EXPECT_EQ(log, (Log{"maybe.102", "maybe.102"}));
}

TEST(MessageMap, ProbeFindsAHandlerWithoutRunningIt) {
  Log log;
  Derived d(log);
  EXPECT_TRUE(d.OnCmdMsg(kSave, fw::kCmdProbe, nullptr));
  EXPECT_FALSE(d.OnCmdMsg(kNobody, fw::kCmdProbe, nullptr));
  EXPECT_TRUE(log.empty());
}

TEST(Routing, FirstTargetOfTheChainThatHandlesTheCommandWins) {
  Log log;
  AppLink app("app", log);
  FrameLink frame("frame", log, &app);
  Link doc("doc", log, &frame);
  ViewLink view("view", log, &doc);
  EXPECT_TRUE(view.OnCmdMsg(1, fw::kCmdCommand, nullptr));  // view and frame map it: the view takes it
  EXPECT_TRUE(view.OnCmdMsg(2, fw::kCmdCommand, nullptr));  // only the frame
  EXPECT_TRUE(view.OnCmdMsg(3, fw::kCmdCommand, nullptr));  // only the application
  EXPECT_FALSE(view.OnCmdMsg(4, fw::kCmdCommand, nullptr));
  EXPECT_EQ(log, (Log{"view.shared", "frame.own", "app.own"}));
}

TEST(CommandState, UpdateHandlerDecidesOtherwiseAHandlerMeansEnabled) {
  Log log;
  AppLink app("app", log);
  FrameLink frame("frame", log, &app);
  ViewLink view("view", log, &frame);

  fw::CCmdUI handled(2);
  EXPECT_TRUE(fw::UpdateCommandUI(view, handled));  // handler, no update handler

  fw::CCmdUI nobody(99);
  EXPECT_FALSE(fw::UpdateCommandUI(view, nobody));  // nobody handles it: disabled

  app.ownEnabled = false;
  fw::CCmdUI refused(3);
  EXPECT_FALSE(fw::UpdateCommandUI(view, refused));  // the update handler says no
  app.ownEnabled = true;
  fw::CCmdUI allowed(3);
  EXPECT_TRUE(fw::UpdateCommandUI(view, allowed));
  EXPECT_TRUE(log.empty());  // asking never runs a command
}

TEST(CommandState, CheckWithoutEnableKeepsTheHandlerRule) {
  Log log;
  Derived d(log);
  fw::CCmdUI save(kSave);
  EXPECT_TRUE(fw::UpdateCommandUI(d, save));
  EXPECT_EQ(save.m_check, 2);
  d.openEnabled = false;
  fw::CCmdUI open(kOpen);
  EXPECT_FALSE(fw::UpdateCommandUI(d, open));
}

}  // namespace
