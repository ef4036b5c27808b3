// Qt's keys as the window system's virtual keys, key data and characters.

#include <gtest/gtest.h>

#include "ui/qt/keys.h"

namespace qirelo::ui::qt {
namespace {

QKeyEvent Press(int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    return QKeyEvent(QEvent::KeyPress, key, mods, text);
}

TEST(QtKeysTest, VirtualKeysOfLettersDigitsFunctionAndNamedKeys) {
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_A, "a")), 'A');
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_Z, "Z", Qt::ShiftModifier)), 'Z');
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_7, "7")), '7');
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_F12)), 0x7B);
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_Escape)), 0x1B);
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_Return)), 0x0D);
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_Enter, {}, Qt::KeypadModifier)), 0x0D);
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_Backtab)), 0x09);
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_Left)), 0x25);
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_Delete)), 0x2E);
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_Control)), 0x11);
    EXPECT_EQ(VirtualKeyOf(Press(Qt::Key_VolumeUp)), 0);
}

TEST(QtKeysTest, OnlyTheEditingBlockOutsideTheKeypadIsExtended) {
    EXPECT_TRUE(IsExtendedKey(Press(Qt::Key_Left)));
    EXPECT_TRUE(IsExtendedKey(Press(Qt::Key_Delete)));
    EXPECT_TRUE(IsExtendedKey(Press(Qt::Key_PageDown)));
    EXPECT_FALSE(IsExtendedKey(Press(Qt::Key_Left, {}, Qt::KeypadModifier)));
    EXPECT_FALSE(IsExtendedKey(Press(Qt::Key_Backspace)));
    EXPECT_FALSE(IsExtendedKey(Press(Qt::Key_Escape)));
}

TEST(QtKeysTest, CharactersOfKeyPresses) {
    EXPECT_EQ(CharacterOf(Press(Qt::Key_Return)), '\r');
    EXPECT_EQ(CharacterOf(Press(Qt::Key_Tab, "\t")), '\t');
    EXPECT_EQ(CharacterOf(Press(Qt::Key_Backspace)), '\b');
    EXPECT_EQ(CharacterOf(Press(Qt::Key_Escape)), '\x1B');
    EXPECT_EQ(CharacterOf(Press(Qt::Key_A, "a")), 'a');
    EXPECT_EQ(CharacterOf(Press(Qt::Key_Exclam, "!", Qt::ShiftModifier)), '!');
    EXPECT_EQ(CharacterOf(Press(Qt::Key_Shift)), 0);
    EXPECT_EQ(CharacterOf(Press(Qt::Key_unknown, QString::fromUtf8("中"))), 0);
}

} // namespace
} // namespace qirelo::ui::qt
