#include "app/browser/key_routing.h"

#include <gtest/gtest.h>

namespace qirelo::browser {
namespace {

constexpr unsigned kKeyDown = 0x100, kKeyUp = 0x101, kChar = 0x102, kSysKeyDown = 0x104;
constexpr std::intptr_t kExtended = 0x01000000;

TEST(OffersKeyToBrowser, TabAndEnterAlways) {
    EXPECT_TRUE(OffersKeyToBrowser(kKeyDown, 9, 0, false));
    EXPECT_TRUE(OffersKeyToBrowser(kKeyUp, 13, 0, false));
    EXPECT_TRUE(OffersKeyToBrowser(kChar, 13, 0, false));
}

TEST(OffersKeyToBrowser, CtrlCombinationsButNotPlainLettersOrDigits) {
    EXPECT_TRUE(OffersKeyToBrowser(kKeyDown, 'C', 0, true));
    EXPECT_FALSE(OffersKeyToBrowser(kKeyDown, 'C', 0, false));
    EXPECT_FALSE(OffersKeyToBrowser(kKeyDown, '7', 0, false));
    EXPECT_FALSE(OffersKeyToBrowser(kSysKeyDown, 'F', 0, false));
}

TEST(OffersKeyToBrowser, EditingKeysOnlyFromTheExtendedBlock) {
    for (std::uintptr_t key : {8u, 37u, 39u, 46u}) {
        EXPECT_TRUE(OffersKeyToBrowser(kKeyDown, key, kExtended | 1, false)) << key;
        EXPECT_FALSE(OffersKeyToBrowser(kKeyDown, key, 1, false)) << key;
    }
    EXPECT_FALSE(OffersKeyToBrowser(kKeyDown, 38, kExtended, false)); // Up is not among them
    EXPECT_FALSE(OffersKeyToBrowser(kKeyDown, 40, kExtended, false)); // nor Down
}

TEST(OffersKeyToBrowser, OnlyKeyboardMessages) {
    EXPECT_FALSE(OffersKeyToBrowser(0xFF, 9, 0, true));
    EXPECT_TRUE(OffersKeyToBrowser(0x108, 9, 0, false));
    EXPECT_FALSE(OffersKeyToBrowser(0x109, 9, 0, true));
    EXPECT_FALSE(OffersKeyToBrowser(0x200, 13, 0, true)); // mouse move
}

} // namespace
} // namespace qirelo::browser
