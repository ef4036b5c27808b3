// Virtual keys on X keyboard maps, and VkKeyScanA derived from a map.

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <map>
#include <utility>

#include "platform/linux/key_map.h"

namespace qirelo::platform::native {
namespace {

// A keyboard map in memory: key code -> keysyms per level.
class MemoryKeyMap final : public KeyMapView {
public:
    void key(KeyCode code, std::initializer_list<KeySym> levels) {
        int level = 0;
        for (KeySym sym : levels)
            syms_[{code, level++}] = sym;
    }
    KeyCode min_keycode() const override { return 8; }
    KeyCode max_keycode() const override { return 255; }
    KeySym keysym(KeyCode code, int level) const override {
        auto it = syms_.find({code, level});
        return it == syms_.end() ? 0 : it->second;
    }

private:
    std::map<std::pair<KeyCode, int>, KeySym> syms_;
};

// The keys of a US PC keyboard that the tests use, at their evdev places.
MemoryKeyMap UsMap() {
    MemoryKeyMap map;
    map.key(9, {XK_Escape});
    map.key(10, {XK_1, XK_exclam});
    map.key(20, {XK_minus, XK_underscore});
    map.key(21, {XK_equal, XK_plus});
    map.key(22, {XK_BackSpace});
    map.key(23, {XK_Tab});
    map.key(24, {XK_q, XK_Q});
    map.key(36, {XK_Return});
    map.key(38, {XK_a, XK_A});
    map.key(47, {XK_semicolon, XK_colon});
    map.key(50, {XK_Shift_L});
    map.key(65, {XK_space});
    map.key(113, {XK_Left});
    map.key(111, {XK_Up});
    map.key(114, {XK_Right});
    map.key(116, {XK_Down});
    map.key(67, {XK_F1});
    return map;
}

TEST(KeyMapTest, NamedKeysLettersAndDigitsFindTheirKeys) {
    const MemoryKeyMap us = UsMap();
    EXPECT_EQ(KeyCodeForVk(us, 0x1B), 9u);   // Escape
    EXPECT_EQ(KeyCodeForVk(us, 0x25), 113u); // Left
    EXPECT_EQ(KeyCodeForVk(us, 0x26), 111u); // Up
    EXPECT_EQ(KeyCodeForVk(us, 0x20), 65u);  // space
    EXPECT_EQ(KeyCodeForVk(us, 'A'), 38u);
    EXPECT_EQ(KeyCodeForVk(us, '1'), 10u);
    EXPECT_EQ(KeyCodeForVk(us, 0x70), 67u); // F1
    EXPECT_EQ(KeyCodeForVk(us, 0x10), 50u); // Shift
    // A key the map lacks presses nothing.
    EXPECT_EQ(KeyCodeForVk(us, 0x7B), std::nullopt); // F12
}

TEST(KeyMapTest, PunctuationKeysAreFoundByTheirPlace) {
    MemoryKeyMap german;
    german.key(20, {XK_ssharp, XK_question});   // where US has minus
    german.key(61, {XK_minus, XK_underscore});  // where US has slash
    EXPECT_EQ(KeyCodeForVk(german, 0xBD), 20u); // VK_OEM_MINUS stays at its place
    EXPECT_EQ(VkForKeyCode(german, 61), 0xBF);
    // So '-' on this layout is VK_OEM_2, as Windows' German layout says.
    EXPECT_EQ(ScanChar(german, '-'), 0x00BF);
    EXPECT_EQ(ScanChar(german, '?'), 0x01BD);
}

TEST(KeyMapTest, ScanCharGivesTheKeyAndTheShiftStateOfTheCurrentMap) {
    const MemoryKeyMap us = UsMap();
    EXPECT_EQ(ScanChar(us, 'a'), 0x0041);
    EXPECT_EQ(ScanChar(us, 'A'), 0x0141);
    EXPECT_EQ(ScanChar(us, ' '), 0x0020);
    EXPECT_EQ(ScanChar(us, '!'), 0x0131);
    EXPECT_EQ(ScanChar(us, ':'), 0x01BA);
    EXPECT_EQ(ScanChar(us, '_'), 0x01BD);
    EXPECT_EQ(ScanChar(us, '\t'), 0x0009);
    EXPECT_EQ(ScanChar(us, '\r'), 0x000D);
    EXPECT_EQ(ScanChar(us, '\b'), 0x0008);
}

TEST(KeyMapTest, CharactersOnNoKeyAndBytesOfChineseTextHaveNoKey) {
    const MemoryKeyMap us = UsMap();
    EXPECT_EQ(ScanChar(us, 'z'), 0xFFFF);
    EXPECT_EQ(ScanChar(us, '\x01'), 0xFFFF);
    // The first byte of a GB2312 character is scanned alone.
    EXPECT_EQ(ScanChar(us, '\xB5'), 0xFFFF);
}

TEST(KeyMapTest, AltGrLevelsAskForCtrlAndAlt) {
    MemoryKeyMap map;
    map.key(24, {XK_q, XK_Q, XK_at});
    map.key(26, {XK_e, XK_E, XK_EuroSign, XK_cent});
    EXPECT_EQ(ScanChar(map, '@'), 0x0651);
    EXPECT_EQ(ScanChar(map, '\xA2'), 0x0745); // cent: Shift + AltGr
}

TEST(KeyMapTest, ScanCodesAreTheEvdevNumbers) {
    EXPECT_EQ(ScanCodeForKeyCode(9), 0x01u);   // Escape
    EXPECT_EQ(ScanCodeForKeyCode(65), 0x39u);  // space
    EXPECT_EQ(ScanCodeForKeyCode(113), 0x69u); // Left (extended on Windows)
    EXPECT_EQ(ScanCodeForKeyCode(3), 0u);
}

} // namespace
} // namespace qirelo::platform::native
