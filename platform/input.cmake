# Keyboard, pointer and screen: the interfaces, the Win32 calls behind them,
# and the recording fakes (with a fixed US layout) for tests and dry runs.
add_library(qirelo_platform_input INTERFACE)
target_include_directories(qirelo_platform_input INTERFACE ${PROJECT_SOURCE_DIR})
if(WIN32)
    add_library(qirelo_platform_input_win32 STATIC win32/keyboard.cpp win32/pointer.cpp)
    target_include_directories(qirelo_platform_input_win32 PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(qirelo_platform_input_win32 PRIVATE user32)
    target_link_libraries(qirelo_platform_input INTERFACE qirelo_platform_input_win32)
endif()

# The call record that every recording fake of the platform writes to.
add_library(qirelo_platform_fake_calls STATIC fake/call_log.cpp)
target_include_directories(qirelo_platform_fake_calls PUBLIC ${PROJECT_SOURCE_DIR})

add_library(qirelo_platform_input_fake STATIC fake/input.cpp fake/us_layout.cpp)
target_link_libraries(qirelo_platform_input_fake PUBLIC qirelo_platform_input qirelo_platform_fake_calls)
