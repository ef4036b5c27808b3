# The Linux client's platform: the keyboard map rules over in-memory maps, the
# mixer scaling, the power-off switch. The real X server is exercised end to
# end (tests/e2e).
if(QIRELO_LINUX_CLIENT)
    qirelo_add_test(NAME platform_linux_test
        SOURCES linux/key_map_test.cpp linux/system_linux_test.cpp
        LIBS qirelo_platform_input_linux qirelo_platform_system_linux)
endif()
