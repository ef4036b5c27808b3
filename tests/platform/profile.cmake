# INI rules and files, the machine, code pages, the x87 control word: the
# native implementations here, the Win32 ones (real system calls) under Wine.
qirelo_add_test(NAME platform_profile_test
    SOURCES profile/ini_text_test.cpp profile/profile_test.cpp
    LIBS qirelo_platform_profile qirelo_platform_profile_fake)
