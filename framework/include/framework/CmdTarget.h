#pragma once
// Message maps, command routing and command-state updates. Portable (no
// windows.h), so that the dispatch rules can be tested natively.
//
// Every class that handles messages or commands declares its own table:
//
//   class CMyView : public fw::CView {
//     FW_DECLARE_MESSAGE_MAP()
//     void OnCopy();
//     void OnUpdateCopy(fw::CCmdUI* ui);
//   };
//   FW_BEGIN_MESSAGE_MAP(CMyView, fw::CView)
//     fw::OnCommand(ID_EDIT_COPY, &CMyView::OnCopy),
//     fw::OnUpdateCommandUI(ID_EDIT_COPY, &CMyView::OnUpdateCopy),
//   FW_END_MESSAGE_MAP()
//
// Lookup walks the class's table first and then its base classes' tables.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <tuple>
#include <type_traits>
#include <vector>

namespace fw {

class CCmdTarget;

// One window message as the dispatcher hands it to a handler.
struct MsgArgs {
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

// The enable/check state of one command, asked for by a menu as it opens or by
// a tool bar on idle. Handlers call Enable and SetCheck; the owner applies them.
class CCmdUI {
 public:
  explicit CCmdUI(unsigned id = 0) : m_nID(id) {}
  virtual ~CCmdUI() = default;
  virtual void Enable(bool on = true) {
    m_enabled = on;
    m_bEnableChanged = true;
  }
  virtual void SetCheck(int check = 1) { m_check = check; }
  virtual void SetRadio(bool on = true) { SetCheck(on ? 1 : 0); }

  unsigned m_nID;
  bool m_bEnableChanged = false;  // some handler decided the enable state
  bool m_enabled = true;
  int m_check = 0;
};

// Codes for CCmdTarget::OnCmdMsg besides control notification codes (> 1).
inline constexpr int kCmdCommand = 0;    // menu item, accelerator, button click
inline constexpr int kCmdUpdateUI = -1;  // ask the enable/check handler
inline constexpr int kCmdProbe = -2;     // only ask whether a command handler exists

struct MessageEntry {
  enum class Kind {
    Message,         // a window message to the window itself
    Command,         // WM_COMMAND by id range and notification code (0 = command)
    UpdateUI,        // enable/check handler for an id range
    ReflectMessage,  // a message the parent reflects back to the control (colour request)
    ReflectCommand,  // a control notification the parent reflects back (STN_CLICKED)
  };
  // Returns the message result; for Command and Reflect* entries a zero result
  // means "not handled, keep routing".
  using Handler = std::function<std::intptr_t(CCmdTarget&, const MsgArgs&, CCmdUI*)>;

  Kind kind = Kind::Message;
  unsigned code = 0;   // message number, or notification code for commands
  unsigned first = 0;  // id range for commands and update handlers
  unsigned last = 0;
  Handler handler;
};

struct MessageMap {
  const MessageMap* base = nullptr;
  std::vector<MessageEntry> entries;
};

class CCmdTarget {
 public:
  CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;
  virtual ~CCmdTarget() = default;

  // Offers a command (code kCmdCommand or a notification code), an update
  // request (kCmdUpdateUI with ui) or a probe to this target and then to the
  // targets it routes to. True when someone took it.
  virtual bool OnCmdMsg(unsigned id, int code, CCmdUI* ui);

  // This target's own table chain only, no further routing.
  bool DispatchOwnCommand(unsigned id, int code, CCmdUI* ui);

  // The first entry of the chain for a message (or reflected message/command).
  const MessageEntry* FindEntry(MessageEntry::Kind kind, unsigned code) const;

  virtual const MessageMap* GetMessageMap() const { return &ClassMessageMap(); }
  static const MessageMap& ClassMessageMap();
};

// Runs the enable/check handlers for ui.m_nID through target's routing. When
// no update handler decides, the command is enabled exactly when some target
// handles it: a command nobody handles shows disabled. Returns ui.m_enabled.
bool UpdateCommandUI(CCmdTarget& target, CCmdUI& ui);

namespace detail {

template <class T>
T FromWord(std::uintptr_t w) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<T>(w);
  else if constexpr (std::is_same_v<T, bool>)
    return w != 0;
  else
    return static_cast<T>(w);
}

template <class T>
T FromLong(std::intptr_t l) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<T>(l);
  else if constexpr (std::is_same_v<T, bool>)
    return l != 0;
  else
    return static_cast<T>(l);
}

template <class R>
std::intptr_t ToResult(R r) {
  if constexpr (std::is_pointer_v<R>)
    return reinterpret_cast<std::intptr_t>(r);
  else
    return static_cast<std::intptr_t>(r);
}

// Calls pmf with the message's parameters: no parameter; one (lParam when it
// is a pointer, else wParam); or two (wParam, lParam).
template <class C, class R, class... A>
std::intptr_t Crack(C& self, R (C::*pmf)(A...), const MsgArgs& m) {
  auto call = [&]() -> R {
    if constexpr (sizeof...(A) == 0) {
      return (self.*pmf)();
    } else if constexpr (sizeof...(A) == 1) {
      using A0 = std::remove_cvref_t<std::tuple_element_t<0, std::tuple<A...>>>;
      if constexpr (std::is_pointer_v<A0>)
        return (self.*pmf)(FromLong<A0>(m.lParam));
      else
        return (self.*pmf)(FromWord<A0>(m.wParam));
    } else {
      static_assert(sizeof...(A) == 2, "a message handler takes (), (x) or (wParam, lParam)");
      using Tuple = std::tuple<std::remove_cvref_t<A>...>;
      return (self.*pmf)(FromWord<std::tuple_element_t<0, Tuple>>(m.wParam),
                         FromLong<std::tuple_element_t<1, Tuple>>(m.lParam));
    }
  };
  if constexpr (std::is_void_v<R>) {
    call();
    return 0;
  } else {
    return ToResult(call());
  }
}

template <class C, class R, class... A>
MessageEntry::Handler MessageHandler(R (C::*pmf)(A...)) {
  return [pmf](CCmdTarget& t, const MsgArgs& m, CCmdUI*) { return Crack(static_cast<C&>(t), pmf, m); };
}

// Command handlers: void() and void(id) are always "handled"; bool(id)
// returns whether it handled the command (false keeps routing).
template <class C, class R, class... A>
MessageEntry::Handler CommandHandler(R (C::*pmf)(A...)) {
  return [pmf](CCmdTarget& t, const MsgArgs& m, CCmdUI*) -> std::intptr_t {
    C& self = static_cast<C&>(t);
    unsigned id = static_cast<unsigned>(m.wParam);
    if constexpr (sizeof...(A) == 0) {
      (self.*pmf)();
      return 1;
    } else if constexpr (std::is_same_v<R, bool>) {
      return (self.*pmf)(id) ? 1 : 0;
    } else {
      (self.*pmf)(id);
      return 1;
    }
  };
}

template <class C, class U>
MessageEntry::Handler UpdateHandler(void (C::*pmf)(U)) {
  return [pmf](CCmdTarget& t, const MsgArgs&, CCmdUI* ui) -> std::intptr_t {
    if constexpr (std::is_pointer_v<U>)
      (static_cast<C&>(t).*pmf)(ui);
    else
      (static_cast<C&>(t).*pmf)(*ui);
    return 1;
  };
}

}  // namespace detail

// A window message to a member: handler(), handler(x) or handler(wParam, lParam).
template <class C, class R, class... A>
MessageEntry OnMessage(unsigned message, R (C::*pmf)(A...)) {
  return {MessageEntry::Kind::Message, message, 0, 0, detail::MessageHandler(pmf)};
}

// A command (menu, accelerator, tool bar button, button click).
template <class C, class R, class... A>
MessageEntry OnCommand(unsigned id, R (C::*pmf)(A...)) {
  return {MessageEntry::Kind::Command, 0, id, id, detail::CommandHandler(pmf)};
}

template <class C, class R, class... A>
MessageEntry OnCommandRange(unsigned first, unsigned last, R (C::*pmf)(A...)) {
  return {MessageEntry::Kind::Command, 0, first, last, detail::CommandHandler(pmf)};
}

// A control notification sent through WM_COMMAND (EN_CHANGE, CBN_SELCHANGE...).
template <class C, class R, class... A>
MessageEntry OnControl(unsigned code, unsigned id, R (C::*pmf)(A...)) {
  return {MessageEntry::Kind::Command, code, id, id, detail::CommandHandler(pmf)};
}

template <class C, class U>
MessageEntry OnUpdateCommandUI(unsigned id, void (C::*pmf)(U)) {
  return {MessageEntry::Kind::UpdateUI, 0, id, id, detail::UpdateHandler(pmf)};
}

template <class C, class U>
MessageEntry OnUpdateCommandUIRange(unsigned first, unsigned last, void (C::*pmf)(U)) {
  return {MessageEntry::Kind::UpdateUI, 0, first, last, detail::UpdateHandler(pmf)};
}

// A message that the parent reflects back to this control (WM_CTLCOLORSTATIC).
// A zero result lets the parent handle the message itself.
template <class C, class R, class... A>
MessageEntry OnReflect(unsigned message, R (C::*pmf)(A...)) {
  return {MessageEntry::Kind::ReflectMessage, message, 0, 0, detail::MessageHandler(pmf)};
}

// A control notification reflected back to the control (STN_CLICKED). A
// handler returning bool false lets the parent see the notification too.
template <class C, class R, class... A>
MessageEntry OnReflectCommand(unsigned code, R (C::*pmf)(A...)) {
  return {MessageEntry::Kind::ReflectCommand, code, 0, 0, detail::CommandHandler(pmf)};
}

}  // namespace fw

#define FW_DECLARE_MESSAGE_MAP()                                                        \
 public:                                                                                \
  static const ::fw::MessageMap& ClassMessageMap();                                     \
  const ::fw::MessageMap* GetMessageMap() const override { return &ClassMessageMap(); } \
                                                                                        \
 private:

#define FW_BEGIN_MESSAGE_MAP(Class, Base)            \
  const ::fw::MessageMap& Class::ClassMessageMap() { \
    static const ::fw::MessageMap map {              \
      &Base::ClassMessageMap(), {
#define FW_END_MESSAGE_MAP() \
  }                          \
  }                          \
  ;                          \
  return map;                \
  }
