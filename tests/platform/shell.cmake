# The browser opener and the on-line check: the rules over the fakes, and the
# machine's own implementations (the Linux ones natively, the Win32 ones with
# the real registry under Wine).
qirelo_add_test(NAME platform_shell_test
    SOURCES shell/html_opener_test.cpp shell/shell_os_test.cpp
    LIBS qirelo_platform_shell qirelo_platform_shell_fake)
if(WIN32)
    target_link_libraries(platform_shell_test PRIVATE advapi32)
endif()
