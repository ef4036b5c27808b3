#include "keys/keysend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keys/key_names.h"
#include "platform/fake/input.h"

namespace qirelo::keys {
namespace {

using platform::fake::CallLog;
using platform::fake::FakeKeyboard;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class SendKeysTest : public ::testing::Test {
protected:
    CallLog log;
    FakeKeyboard keyboard{log};
    int clears = 0;
    KeySender sender{keyboard, [this] { ++clears; }};

    // Sends and returns what reached the platform, queries left out.
    std::vector<std::string> send(std::string_view keys, bool wait = true) {
        log.clear();
        result = sender.SendKeys(keys, wait);
        return log.effects();
    }
    bool result = false;
};

std::string event(unsigned vk, unsigned scan, unsigned flags) {
    return "keybd_event vk=" + platform::fake::hex(vk) + " scan=" + platform::fake::hex(scan) +
           " flags=" + std::to_string(flags);
}

// Press and release with a drain after each event.
std::vector<std::string> tap(unsigned vk, unsigned scan, bool extended) {
    const unsigned down = extended ? 1 : 0;
    return {event(vk, scan, down), "drain", event(vk, scan, down | 2), "drain"};
}

struct PressedName {
    const char* name;
    unsigned vk;
    unsigned scan; // as the US layout maps vk
    bool extended;
};

// Every name that presses and releases one key, in table order.
const PressedName kPressedNames[] = {
    {"FK_BACKSPACE", 0x08, 0x0E, false},  {"FK_BKSP", 0x08, 0x0E, false},
    {"FK_BREAK", 0x03, 0x46, false},      {"FK_BS", 0x08, 0x0E, false},
    {"FK_CLEAR", 0x0C, 0x4C, false},      {"FK_DEL", 0x2E, 0x53, true},
    {"FK_DELETE", 0x2E, 0x53, true},      {"FK_DOWN", 0x28, 0x50, true},
    {"FK_END", 0x23, 0x4F, true},         {"FK_ENTER", 0x0D, 0x1C, false},
    {"FK_ESC", 0x1B, 0x01, false},        {"FK_ESCAPE", 0x1B, 0x01, false},
    {"FK_F1", 0x70, 0x3B, false},         {"FK_F10", 0x79, 0x44, false},
    {"FK_F11", 0x7A, 0x57, false},        {"FK_F12", 0x7B, 0x58, false},
    {"FK_F13", 0x7C, 0x64, false},        {"FK_F14", 0x7D, 0x65, false},
    {"FK_F15", 0x7E, 0x66, false},        {"FK_F16", 0x7F, 0x67, false},
    {"FK_F2", 0x71, 0x3C, false},         {"FK_F3", 0x72, 0x3D, false},
    {"FK_F4", 0x73, 0x3E, false},         {"FK_F5", 0x74, 0x3F, false},
    {"FK_F6", 0x75, 0x40, false},         {"FK_F7", 0x76, 0x41, false},
    {"FK_F8", 0x77, 0x42, false},         {"FK_F9", 0x78, 0x43, false},
    {"FK_HELP", 0x2F, 0x00, false},       {"FK_HOME", 0x24, 0x47, true},
    {"FK_INS", 0x2D, 0x52, true},         {"FK_LEFT", 0x25, 0x4B, true},
    {"FK_PGDN", 0x22, 0x51, true},        {"FK_PGUP", 0x21, 0x49, true},
    {"FK_PRTSC", 0x2A, 0x00, false},      {"FK_RIGHT", 0x27, 0x4D, true},
    {"FK_SCROLLLOCK", 0x91, 0x46, false}, {"FK_TAB", 0x09, 0x0F, false},
    {"FK_UP", 0x26, 0x48, true},
};

std::string lower(std::string text) {
    for (char& c : text) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

std::string alternate_case(std::string text) {
    bool upper = false;
    for (char& c : text) {
        if (c >= 'a' && c <= 'z' && upper) {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z' && !upper) {
            c = static_cast<char>(c - 'A' + 'a');
        }
        upper = !upper;
    }
    return text;
}

TEST_F(SendKeysTest, EachPressedNameSendsItsKeyWithTheExtendedFlagOnlyForTheNavigationBlock) {
    for (const PressedName& key : kPressedNames) {
        for (const std::string& spelling :
             {std::string(key.name), lower(key.name), alternate_case(key.name)}) {
            SCOPED_TRACE(spelling);
            EXPECT_THAT(send(spelling), ElementsAreArray(tap(key.vk, key.scan, key.extended)));
            EXPECT_FALSE(result);
        }
    }
}

TEST_F(SendKeysTest, TheTableHoldsTheFortySixNamesAndNothingNearThem) {
    for (const PressedName& key : kPressedNames) {
        EXPECT_NE(FindKeyName(key.name), nullptr) << key.name;
    }
    for (const char* name :
         {"FK_Shift", "FK_Ctrl", "FK_Alt", "FK_CAPSLOCK", "FK_NUMLOCK", "FK_IME", "FK_ClearText"}) {
        EXPECT_NE(FindKeyName(name), nullptr) << name;
    }
    for (const char* near : {"FK_F17", "FK_F0", "FK_ESC ", " FK_ESC", "FK_", "FK_SHIFTX",
                             "FK_PRINT", "FK_SPACE", "FK-ESC", "FKESC"}) {
        EXPECT_EQ(FindKeyName(near), nullptr) << near;
    }
}

TEST_F(SendKeysTest, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(SameKeyName("fK_eSc", "FK_ESC"));
    EXPECT_FALSE(SameKeyName("FK_ESC", "FK_ES"));
    // Latin-1 capital and small E acute differ by the same bit as ASCII case.
    EXPECT_FALSE(SameKeyName("\xC9", "\xE9"));
    // '[' and '{' differ by 0x20 as well, but are no letters.
    EXPECT_FALSE(SameKeyName("[", "{"));
    EXPECT_FALSE(SameKeyName("_", "\x7F"));
}

TEST_F(SendKeysTest, EmptyStringSendsNothingAndReturnsFalse) {
    EXPECT_THAT(send(""), IsEmpty());
    EXPECT_THAT(log.calls(), IsEmpty());
    EXPECT_FALSE(result);
}

TEST_F(SendKeysTest, TheStringEndsAtItsFirstNulByte) {
    EXPECT_THAT(send(std::string_view("FK_ESC\0junk", 11)),
                ElementsAreArray(tap(0x1B, 0x01, false)));
    EXPECT_FALSE(result);
    EXPECT_THAT(send(std::string_view("\0FK_ESC", 7)), IsEmpty());
    EXPECT_FALSE(result);
}

TEST_F(SendKeysTest, NameWithTrailingBlankIsTypedAsText) {
    const auto effects = send("FK_ESC ");
    EXPECT_TRUE(result);
    std::vector<std::string> expected;
    auto add = [&](std::vector<std::string> part) {
        expected.insert(expected.end(), part.begin(), part.end());
    };
    auto shifted = [&](unsigned vk, unsigned scan) {
        add({event(0x10, 0x2A, 0), "drain"});
        add(tap(vk, scan, false));
        add({event(0x10, 0x2A, 2), "drain"});
    };
    shifted('F', 0x21);
    shifted('K', 0x25);
    shifted(0xBD, 0x0C); // underscore is Shift with the minus key
    shifted('E', 0x12);
    shifted('S', 0x1F);
    shifted('C', 0x2E);
    add(tap(0x20, 0x39, false));
    EXPECT_THAT(effects, ElementsAreArray(expected));
}

TEST_F(SendKeysTest, SpaceIsTypedAsText) {
    EXPECT_THAT(send(" "), ElementsAreArray(tap(0x20, 0x39, false)));
    EXPECT_TRUE(result);
}

TEST_F(SendKeysTest, CapitalLetterIsTypedWithShiftAroundIt) {
    EXPECT_THAT(send("A"),
                ElementsAre(event(0x10, 0x2A, 0), "drain", event('A', 0x1E, 0), "drain",
                            event('A', 0x1E, 2), "drain", event(0x10, 0x2A, 2), "drain"));
    EXPECT_TRUE(result);
}

TEST_F(SendKeysTest, WithoutWaitNothingIsDrained) {
    EXPECT_THAT(send("FK_RIGHT", false), ElementsAre(event(0x27, 0x4D, 1), event(0x27, 0x4D, 3)));
    EXPECT_THAT(send("aB", false),
                ElementsAre(event('A', 0x1E, 0), event('A', 0x1E, 2), event(0x10, 0x2A, 0),
                            event('B', 0x30, 0), event('B', 0x30, 2), event(0x10, 0x2A, 2)));
}

TEST_F(SendKeysTest, ModifiersGoUpInTheOrderTheyWentDown) {
    // Ctrl+Shift+6 on the US layout.
    EXPECT_THAT(send("\x1E", false),
                ElementsAre(event(0x10, 0x2A, 0), event(0x11, 0x1D, 0), event('6', 0x07, 0),
                            event('6', 0x07, 2), event(0x10, 0x2A, 2), event(0x11, 0x1D, 2)));
    keyboard.set_char_scan('q', 0x0751); // a layout putting q on Shift+Ctrl+Alt+Q
    EXPECT_THAT(send("q", false),
                ElementsAre(event(0x10, 0x2A, 0), event(0x11, 0x1D, 0), event(0x12, 0x38, 0),
                            event('Q', 0x10, 0), event('Q', 0x10, 2), event(0x10, 0x2A, 2),
                            event(0x11, 0x1D, 2), event(0x12, 0x38, 2)));
    keyboard.set_char_scan('w', 0x0457); // Alt alone; the other high bits are ignored
    keyboard.set_char_scan('e', 0xF845);
    EXPECT_THAT(send("we", false),
                ElementsAre(event(0x12, 0x38, 0), event('W', 0x11, 0), event('W', 0x11, 2),
                            event(0x12, 0x38, 2), event('E', 0x12, 0), event('E', 0x12, 2)));
}

TEST_F(SendKeysTest, ModifierNamesHoldTheKeyUntilSentAgain) {
    EXPECT_THAT(send("FK_Shift"), ElementsAre(event(0x10, 0x2A, 0), "drain"));
    EXPECT_TRUE(sender.ShiftHeld());
    EXPECT_FALSE(result);
    EXPECT_THAT(send("fk_shift"), ElementsAre(event(0x10, 0x2A, 2), "drain"));
    EXPECT_FALSE(sender.ShiftHeld());

    EXPECT_THAT(send("FK_Ctrl", false), ElementsAre(event(0x11, 0x1D, 0)));
    EXPECT_THAT(send("c", false), ElementsAre(event('C', 0x2E, 0), event('C', 0x2E, 2)));
    EXPECT_TRUE(sender.CtrlHeld());
    EXPECT_THAT(send("FK_Ctrl", false), ElementsAre(event(0x11, 0x1D, 2)));

    EXPECT_THAT(send("FK_ALT", false), ElementsAre(event(0x12, 0x38, 0)));
    EXPECT_TRUE(sender.AltHeld());
    EXPECT_THAT(send("FK_Alt", false), ElementsAre(event(0x12, 0x38, 2)));
    EXPECT_FALSE(sender.AltHeld());
}

TEST_F(SendKeysTest, LockNamesFlipTheToggleWithoutAnyKeyEvent) {
    EXPECT_THAT(send("FK_NUMLOCK"), ElementsAre("SetKeyboardState 0x90 on"));
    EXPECT_EQ(keyboard.table()[0x90], 0x01);
    EXPECT_THAT(send("FK_NUMLOCK"), ElementsAre("SetKeyboardState 0x90 off"));
    EXPECT_FALSE(result);

    EXPECT_THAT(send("FK_CAPSLOCK"), ElementsAre("SetKeyboardState 0x14 on"));
    EXPECT_TRUE(sender.CapsLockHeld());
    EXPECT_THAT(send("FK_CapsLock"), ElementsAre("SetKeyboardState 0x14 off"));
    EXPECT_FALSE(sender.CapsLockHeld());
}

TEST_F(SendKeysTest, LockFlipReadsTheToggleAndKeepsTheRestOfTheTable) {
    platform::input::KeyStateTable table{};
    table[0x14] = 0x81; // CapsLock down and on
    table[0x41] = 0x80;
    keyboard.set_keyboard_state(table);
    send("FK_CAPSLOCK");
    EXPECT_EQ(keyboard.table()[0x14], 0x80);
    EXPECT_EQ(keyboard.table()[0x41], 0x80);
    EXPECT_THAT(log.lines(), ElementsAre("GetKeyState vk=0x14 -> 0x8001", "GetKeyboardState",
                                         "SetKeyboardState 0x14 off"));
}

TEST_F(SendKeysTest, ImeSwitchesToTheNextLayout) {
    EXPECT_THAT(send("FK_IME"), ElementsAre("ActivateKeyboardLayout 1 0"));
    EXPECT_FALSE(result);
}

TEST_F(SendKeysTest, ClearTextEmptiesTheFocusedEditAndSendsNoKey) {
    EXPECT_THAT(send("fk_cleartext"), IsEmpty());
    EXPECT_EQ(clears, 1);
    EXPECT_FALSE(result);

    KeySender without_edit_query(keyboard, nullptr);
    EXPECT_FALSE(without_edit_query.SendKeys("FK_ClearText", true));
}

TEST_F(SendKeysTest, UnmappableBytesEachShowOneBoxAndTheRestIsStillTyped) {
    const std::string box = "MessageBox \"Invalid KeyName\" \"SendKeys\"";
    // "中文" in GB2312: four bytes, none on the layout.
    EXPECT_THAT(send("\xD6\xD0\xCE\xC4"), ElementsAre(box, box, box, box));
    EXPECT_TRUE(result);

    std::vector<std::string> expected = tap('A', 0x1E, false);
    expected.push_back(box);
    expected.push_back(box);
    const auto b = tap('B', 0x30, false);
    expected.insert(expected.end(), b.begin(), b.end());
    EXPECT_THAT(send("a\xB0\xA1"
                     "b"),
                ElementsAreArray(expected));
    EXPECT_TRUE(result);
}

} // namespace
} // namespace qirelo::keys
