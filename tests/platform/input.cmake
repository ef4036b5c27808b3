# Keyboard, pointer and screen.
qirelo_add_test(NAME platform_input_fake_test SOURCES input_fake_test.cpp
    LIBS qirelo_platform_input_fake)

if(WIN32)
    # A real window to type and click into, shared with the keystroke tests.
    add_library(qirelo_test_win32_window STATIC win32_test_window.cpp)
    target_include_directories(qirelo_test_win32_window PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(qirelo_test_win32_window PUBLIC user32 gdi32)

    qirelo_add_test(NAME platform_input_win32_test SOURCES input_win32_test.cpp
        LIBS qirelo_platform_input qirelo_test_win32_window)
endif()
