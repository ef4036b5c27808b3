// qirelo-tool sendkeys: the keystroke sender against the recording keyboard
// with the fixed US layout, printing every platform call it makes.

#include <span>
#include <string>

#include "keys/keysend.h"
#include "platform/fake/input.h"
#include "tools/command.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool sendkeys [--no-wait] [--] STRING...\n"
    "\n"
    "Runs SendKeys for each STRING in turn, with one sender (so keys held by\n"
    "FK_Shift, FK_Ctrl, FK_Alt and FK_CAPSLOCK carry over to the next STRING),\n"
    "against a recording keyboard with a fixed US layout. Nothing reaches the\n"
    "real keyboard. Every platform call is printed as one line, in order, then\n"
    "the call's result:\n"
    "\n"
    "  keybd_event vk=0x1B scan=0x01 flags=0      one key event (flags: 1\n"
    "                                             extended, 2 key up)\n"
    "  drain                                      the thread's keyboard messages\n"
    "                                             are dispatched (not with\n"
    "                                             --no-wait)\n"
    "  MapVirtualKeyA vk=0x1B type=0 -> 0x01      a key's scan code\n"
    "  VkKeyScanA char=0x41 -> 0x0141             a character's key and shift\n"
    "                                             state (0xFFFF: no key)\n"
    "  GetKeyState vk=0x90 -> 0x0001              a key's state (bit 0: toggle)\n"
    "  GetKeyboardState                           the key-state table is read\n"
    "  SetKeyboardState 0x90 on                   a toggle in the table changed\n"
    "                                             (\"SetKeyboardState unchanged\"\n"
    "                                             when none did)\n"
    "  ActivateKeyboardLayout 1 0                 the next keyboard layout\n"
    "  MessageBox \"Invalid KeyName\" \"SendKeys\"    a byte with no key\n"
    "  ClearFocusedEdit                           FK_ClearText empties the\n"
    "                                             focused edit box\n"
    "  result=true | result=false                 SendKeys's result: true when\n"
    "                                             the STRING was typed as text\n"
    "\n"
    "  --no-wait   send without draining the keyboard messages\n"
    "  --          the STRINGs follow, even those that begin with \"--\"\n"
    "\n"
    "Exit status 0, or 2 for a usage error.\n";

int usage_error(std::ostream& err, std::string_view what) {
    err << "qirelo-tool sendkeys: " << what << " (qirelo-tool sendkeys --help)\n";
    return kExitUsage;
}

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    bool wait = true;
    std::size_t first = 0;
    for (; first < args.size() && args[first].starts_with("--"); ++first) {
        if (args[first] == "--") {
            ++first;
            break;
        }
        if (args[first] != "--no-wait") {
            return usage_error(err, "unknown argument " + one_line(args[first]));
        }
        wait = false;
    }
    const auto strings = args.subspan(first);
    if (strings.empty()) {
        return usage_error(err, "a STRING to send is required");
    }

    platform::fake::CallLog log;
    log.on_call = [&out](const platform::fake::CallLog::Call& call) { out << call.line << '\n'; };
    platform::fake::FakeKeyboard keyboard(log);
    keys::KeySender sender(keyboard, [&out] { out << "ClearFocusedEdit\n"; });
    for (const std::string& keys : strings) {
        const bool typed = sender.SendKeys(keys, wait);
        out << "result=" << (typed ? "true" : "false") << '\n';
    }
    return kExitOk;
}

const Registration registration({"sendkeys",
                                 "send key strings to a recording keyboard, printing each call",
                                 kHelp, run});

} // namespace
} // namespace qirelo::tools
