// The local names of downloaded files: only plain names in the program's
// folder; everything else makes the file a lost one.

#include <gtest/gtest.h>

#include <string>

#include "upgrade/local_file_name.h"

namespace qirelo::upgrade {
namespace {

TEST(UrlFileName, LastPathElementWithSlashesReadAsBackslashes) {
    EXPECT_EQ(UrlFileName("http://up.example.com/setup/Qirelo.exe"), "Qirelo.exe");
    EXPECT_EQ(UrlFileName("http://up.example.com:8080/a/b/c/data.bin"), "data.bin");
    EXPECT_EQ(UrlFileName("http://up.example.com/setup\\sub\\Qirelo.exe"), "Qirelo.exe");
    EXPECT_EQ(UrlFileName("setup/readme.txt"), "readme.txt");
    EXPECT_EQ(UrlFileName("plain.dll"), "plain.dll");
}

TEST(UrlFileName, HostQueryAndFragmentAreNotPartOfTheName) {
    EXPECT_EQ(UrlFileName("http://up.example.com/get.asp?file=../../x.exe"), "get.asp");
    EXPECT_EQ(UrlFileName("http://up.example.com/setup/Qirelo.exe#v2"), "Qirelo.exe");
    EXPECT_EQ(UrlFileName("http://up.example.com"), ""); // the host is no file
    EXPECT_EQ(UrlFileName("http://up.example.com/"), "");
    EXPECT_EQ(UrlFileName("http://up.example.com/setup/"), "");
    EXPECT_EQ(UrlFileName("http://up.example.com?x=/a.exe"), "");
}

TEST(IsPlainFileName, OrdinaryNamesPass) {
    for (const std::string name : {"Qirelo.exe", "a", "readme", "my file.txt", "v1.2.3.zip",
                                   "console.exe", "nullable.dll", "COM10", "LPTX.txt", "auxiliary",
                                   "CON1", "%2e%2e", "\xC9\xFD\xBC\xB6.txt" /* 升级.txt */}) {
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    }
}

TEST(IsPlainFileName, EmptyOverlongAndPathsAreRefused) {
    EXPECT_FALSE(IsPlainFileName(""));
    EXPECT_TRUE(IsPlainFileName(std::string(kMaxPlainNameBytes, 'a')));
    EXPECT_FALSE(IsPlainFileName(std::string(kMaxPlainNameBytes + 1, 'a')));
    for (const std::string name : {"..\\Qirelo.exe", "sub/x.dll", "C:x.exe", "C:", "x.exe:stream",
                                   "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    }
}

TEST(IsPlainFileName, ControlCharactersAreRefused) {
    for (const char c : {'\0', '\x01', '\t', '\n', '\r', '\x1F', '\x7F'}) {
        const std::string name = std::string("a") + c + "b.exe";
        EXPECT_FALSE(IsPlainFileName(name)) << static_cast<int>(c);
    }
}

TEST(IsPlainFileName, LeadingOrTrailingBlanksAndDotsAreRefused) {
    for (const std::string name : {".", "..", "...", ".hidden", "name.", "name..", " name", "name ",
                                   " ", "x.exe ", "x.exe.", " .exe"}) {
        EXPECT_FALSE(IsPlainFileName(name)) << "'" << name << "'";
    }
}

TEST(IsPlainFileName, DeviceNamesInAnyCaseWithOrWithoutExtensionAreRefused) {
    for (const std::string device : {"CON", "PRN", "AUX", "NUL", "COM1", "COM9", "LPT1", "LPT9",
                                     "COM0", "LPT0", "CONIN$", "CONOUT$"}) {
        std::string lower = device;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        std::string mixed = lower;
        mixed[0] = device[0];
        for (const std::string& name : {device, lower, mixed, device + ".txt", lower + ".tar.gz",
                                        device + " .log", lower + "  .exe"}) {
            EXPECT_FALSE(IsPlainFileName(name)) << name;
        }
    }
}

TEST(LocalFileName, PlainNamesOnlyAndNothingOutsideTheFolder) {
    EXPECT_EQ(LocalFileName("http://up.example.com/setup/Qirelo.exe"), "Qirelo.exe");
    EXPECT_EQ(LocalFileName("http://up.example.com/setup/readme.txt?x=1"), "readme.txt");
    for (const std::string url :
         {"http://up.example.com/", "http://up.example.com", "http://up.example.com/setup/..",
          "http://up.example.com/setup/.", "http://up.example.com/setup/nul",
          "http://up.example.com/setup/com3.dll", "http://up.example.com/a/x.exe.",
          "http://up.example.com/a/x.exe%20", "http://up.example.com/a/C:x.exe",
          "http://up.example.com/a/x\x01.exe"}) {
        const auto name = LocalFileName(url);
        if (url.ends_with("%20")) {
            EXPECT_EQ(name, "x.exe%20") << url; // not decoded: a literal, harmless name
        } else {
            EXPECT_EQ(name, std::nullopt) << url;
        }
    }
}

} // namespace
} // namespace qirelo::upgrade
