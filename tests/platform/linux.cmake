# The Linux client's platform: the keyboard map rules over in-memory maps, the
# mixer scaling, the power-off switch; and the X11 keyboard and pointer on a
# virtual screen of their own.
if(QIRELO_LINUX_CLIENT)
    qirelo_add_test(NAME platform_linux_test
        SOURCES linux/key_map_test.cpp linux/system_linux_test.cpp
        LIBS qirelo_platform_input_linux qirelo_platform_system_linux)

    add_executable(platform_linux_x_test linux/x_input_test.cpp)
    target_link_libraries(platform_linux_x_test PRIVATE qirelo_platform_input_linux
        GTest::gtest_main)
    # Its own display number range, away from xvfb-run's default of 99 that
    # other X sessions on the machine race for. -noreset: each test closes its
    # connections, and a server resetting after its last client refuses the
    # next test's connection for a moment.
    add_test(NAME platform_linux_x_test
        COMMAND xvfb-run -a -n 170 -s "-screen 0 1280x1024x24 -nolisten tcp -noreset"
            $<TARGET_FILE:platform_linux_x_test>)
    set_tests_properties(platform_linux_x_test PROPERTIES TIMEOUT 120)
endif()
