// Static message tables. Each window, dialog, page, control or application
// class that handles messages declares one table of entries:
//
//   // in the class:  static const MsgEntry<TMyDialog> kMessages[];
//   //                bool Dispatch(Message& m) override;
//   const MsgEntry<TMyDialog> TMyDialog::kMessages[] = {
//       OnCommand(CM_SAVE, &TMyDialog::CmSave),
//       OnEnable(CM_SAVE, &TMyDialog::CeSave),
//       OnMessage(MM_WIM_DATA, &TMyDialog::EvMmWimData),
//       OnClicked(IDC_RECORD, &TMyDialog::BnRecord),
//   };
//   bool TMyDialog::Dispatch(Message& m) {
//       return DispatchTable(*this, kMessages, m)     // own table
//           || Mixin::DispatchOwn(m)                  // then mix-ins
//           || TDialog::Dispatch(m);                  // then bases
//   }
//
// Each entry function cracks the message once and calls the handler with
// typed arguments. A handler returning bool declines with false: the search
// goes on with the next entry, then the next table. Handlers returning void
// always handle the message, and the message's result stays 0.
//
// The tables are arrays of plain records defined in the class's own source
// file; nothing registers itself, so static-initialisation order never matters.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <type_traits>

// One message on its way through the tables.
class TCommandEnabler;
struct Message {
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;                   // what the window procedure returns
    TCommandEnabler* enabler = nullptr;   // set (with msg WM_NULL) for an enabler query
    bool probe = false;                   // only ask whether some entry would take it
};

// What command enablers say about one command. The caller applies it to a
// menu item or a button; enablers only read state and fill this in.
class TCommandEnabler {
public:
    explicit TCommandEnabler(UINT id, HMENU menu = nullptr) : id_(id), menu_(menu) {}
    UINT Id() const { return id_; }
    // The pop-up being opened when the query comes from a menu, else null.
    HMENU Menu() const { return menu_; }

    void Enable(bool enable = true) { enabled_ = enable; }
    void SetCheck(int state) { check_ = state; }  // BF_UNCHECKED 0, BF_CHECKED 1
    void SetText(const std::string& text) { text_ = text; }

    const std::optional<bool>& Enabled() const { return enabled_; }
    const std::optional<int>& Check() const { return check_; }
    const std::optional<std::string>& Text() const { return text_; }
    bool Handled() const { return handled_; }
    void MarkHandled() { handled_ = true; }

private:
    UINT id_;
    HMENU menu_;
    std::optional<bool> enabled_;
    std::optional<int> check_;
    std::optional<std::string> text_;
    bool handled_ = false;
};

enum class EntryKind : unsigned char {
    WindowMessage,  // msg
    Command,        // WM_COMMAND from a menu, an accelerator or a clicked button, ids id..idLast
    Enabler,        // enabler query for id
    Child,          // WM_COMMAND/WM_HSCROLL/WM_VSCROLL from control id with this code
    ChildAll,       // the same, every code
    Notify,         // WM_NOTIFY from control id with this code
    Registered,     // the registered window message called name
};

// The matching part of an entry; the same for every class.
struct EntryKey {
    EntryKind kind;
    UINT msg;
    UINT id;
    UINT idLast;
    UINT code;
    const char* name;
};

bool EntryMatches(const EntryKey& key, const Message& m);
// The number of a registered window message (cached after the first call).
UINT RegisteredMessageId(const char* name);

template <class T>
struct MsgEntry {
    using AnyMember = void (T::*)();
    using Invoker = bool (*)(T&, AnyMember, Message&);
    EntryKey key;
    Invoker invoke;
    AnyMember member;
};

template <class T, std::size_t N>
bool DispatchTable(T& self, const MsgEntry<T> (&table)[N], Message& m) {
    for (const MsgEntry<T>& entry : table) {
        if (!EntryMatches(entry.key, m)) continue;
        if (m.probe) return true;
        if (entry.invoke(self, entry.member, m)) return true;
    }
    return false;
}

namespace msgdetail {

// The handler's member pointer rebound to the class whose table holds it,
// so a table may name handlers inherited from a base.
template <class F, class T> struct Rebind;
template <class R, class C, class... A, class T> struct Rebind<R (C::*)(A...), T> {
    static_assert(std::is_base_of_v<C, T>, "handler must belong to the table's class or a base");
    using type = R (T::*)(A...);
};

// Calls a handler: void handles, bool decides.
template <class T, class F, class... A>
bool Call(T& self, F f, A&&... args) {
    using R = decltype((self.*f)(std::forward<A>(args)...));
    if constexpr (std::is_void_v<R>) {
        (self.*f)(std::forward<A>(args)...);
        return true;
    } else {
        return static_cast<bool>((self.*f)(std::forward<A>(args)...));
    }
}

// An entry not yet bound to a table's class; converts to MsgEntry<T>.
template <class F, class Crack>
struct Pending {
    EntryKey key;
    F handler;
    template <class T>
    operator MsgEntry<T>() const {
        using TF = typename Rebind<F, T>::type;
        TF bound = handler;
        return MsgEntry<T>{key,
                           [](T& self, typename MsgEntry<T>::AnyMember any, Message& m) {
                               return Crack::Invoke(self, reinterpret_cast<TF>(any), m);
                           },
                           reinterpret_cast<typename MsgEntry<T>::AnyMember>(bound)};
    }
};

struct CrackNone {  // void Cm()
    template <class T, class F> static bool Invoke(T& s, F f, Message&) { return Call(s, f); }
};
struct CrackCommandId {  // void Cm(UINT id)
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        return Call(s, f, static_cast<UINT>(LOWORD(m.wParam)));
    }
};
struct CrackEnabler {  // void Ce(TCommandEnabler&)
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        m.enabler->MarkHandled();
        return Call(s, f, *m.enabler);
    }
};
struct CrackCode {  // void Ev(UINT notificationCode)
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        const UINT code = m.msg == WM_COMMAND ? HIWORD(m.wParam) : LOWORD(m.wParam);
        return Call(s, f, code);
    }
};
struct CrackNotify {  // LRESULT Ev(NMHDR&)
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        m.result = (s.*f)(*reinterpret_cast<NMHDR*>(m.lParam));
        return true;
    }
};
struct CrackRaw {  // LRESULT Ev(WPARAM, LPARAM)
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        m.result = (s.*f)(m.wParam, m.lParam);
        return true;
    }
};
struct CrackWhole {  // bool Ev(Message&): sets m.result, false declines
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) { return Call(s, f, m); }
};
struct CrackTimer {  // void EvTimer(UINT timerId)
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        return Call(s, f, static_cast<UINT>(m.wParam));
    }
};
struct CrackScroll {  // void EvHScroll(UINT code, int position, HWND control)
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        return Call(s, f, static_cast<UINT>(LOWORD(m.wParam)),
                    static_cast<int>(static_cast<short>(HIWORD(m.wParam))),
                    reinterpret_cast<HWND>(m.lParam));
    }
};
struct CrackSize {  // void EvSize(UINT sizeType, SIZE clientSize)
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        SIZE size{LOWORD(m.lParam), HIWORD(m.lParam)};
        return Call(s, f, static_cast<UINT>(m.wParam), size);
    }
};
struct CrackCopyData {  // bool EvCopyData(HWND sender, const COPYDATASTRUCT&): result TRUE
    template <class T, class F> static bool Invoke(T& s, F f, Message& m) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(m.lParam);
        if (!data) return false;
        m.result = TRUE;
        return Call(s, f, reinterpret_cast<HWND>(m.wParam), *data);
    }
};

template <class Crack, class F>
Pending<F, Crack> Make(EntryKind kind, UINT msg, UINT id, UINT idLast, UINT code, F f,
                       const char* name = nullptr) {
    return {EntryKey{kind, msg, id, idLast, code, name}, f};
}

}  // namespace msgdetail

// Menu item, accelerator or button click with this command id.
template <class F> auto OnCommand(UINT id, F f) {
    return msgdetail::Make<msgdetail::CrackNone>(EntryKind::Command, WM_COMMAND, id, id, 0, f);
}
// Commands first..last; the handler gets the id.
template <class F> auto OnCommandRange(UINT first, UINT last, F f) {
    return msgdetail::Make<msgdetail::CrackCommandId>(EntryKind::Command, WM_COMMAND, first, last, 0, f);
}
// Enabler of a command: void Ce(TCommandEnabler&).
template <class F> auto OnEnable(UINT id, F f) {
    return msgdetail::Make<msgdetail::CrackEnabler>(EntryKind::Enabler, WM_NULL, id, id, 0, f);
}
// One notification code of a child control (WM_COMMAND, or WM_H/VSCROLL code).
template <class F> auto OnChild(UINT id, UINT code, F f) {
    return msgdetail::Make<msgdetail::CrackNone>(EntryKind::Child, 0, id, id, code, f);
}
template <class F> auto OnClicked(UINT id, F f) { return OnChild(id, BN_CLICKED, f); }
// Every notification of a child control: void Ev(UINT code).
template <class F> auto OnChildAll(UINT id, F f) {
    return msgdetail::Make<msgdetail::CrackCode>(EntryKind::ChildAll, 0, id, id, 0, f);
}
// WM_NOTIFY from control id with this code: LRESULT Ev(NMHDR&).
template <class F> auto OnNotify(UINT id, UINT code, F f) {
    return msgdetail::Make<msgdetail::CrackNotify>(EntryKind::Notify, WM_NOTIFY, id, id, code, f);
}

// Any window message, raw: LRESULT Ev(WPARAM, LPARAM), or bool Ev(Message&).
template <class R, class C> auto OnMessage(UINT msg, R (C::*f)(WPARAM, LPARAM)) {
    return msgdetail::Make<msgdetail::CrackRaw>(EntryKind::WindowMessage, msg, 0, 0, 0, f);
}
template <class R, class C> auto OnMessage(UINT msg, R (C::*f)(Message&)) {
    return msgdetail::Make<msgdetail::CrackWhole>(EntryKind::WindowMessage, msg, 0, 0, 0, f);
}
// A registered window message, looked up by name when first needed.
template <class R, class C> auto OnRegistered(const char* name, R (C::*f)(WPARAM, LPARAM)) {
    return msgdetail::Make<msgdetail::CrackRaw>(EntryKind::Registered, 0, 0, 0, 0, f, name);
}
template <class R, class C> auto OnRegistered(const char* name, R (C::*f)(Message&)) {
    return msgdetail::Make<msgdetail::CrackWhole>(EntryKind::Registered, 0, 0, 0, 0, f, name);
}

// Cracked window messages.
namespace msgdetail {
template <class Crack, class F> auto ForMessage(UINT msg, F f) {
    return Make<Crack>(EntryKind::WindowMessage, msg, 0, 0, 0, f);
}
}  // namespace msgdetail
template <class F> auto OnTimer(F f) { return msgdetail::ForMessage<msgdetail::CrackTimer>(WM_TIMER, f); }
template <class F> auto OnClose(F f) { return msgdetail::ForMessage<msgdetail::CrackNone>(WM_CLOSE, f); }
template <class F> auto OnDestroy(F f) { return msgdetail::ForMessage<msgdetail::CrackNone>(WM_DESTROY, f); }
template <class F> auto OnHScroll(F f) { return msgdetail::ForMessage<msgdetail::CrackScroll>(WM_HSCROLL, f); }
template <class F> auto OnVScroll(F f) { return msgdetail::ForMessage<msgdetail::CrackScroll>(WM_VSCROLL, f); }
template <class F> auto OnSize(F f) { return msgdetail::ForMessage<msgdetail::CrackSize>(WM_SIZE, f); }
template <class F> auto OnCopyData(F f) { return msgdetail::ForMessage<msgdetail::CrackCopyData>(WM_COPYDATA, f); }
