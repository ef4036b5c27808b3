# Wave-out volume and power-off: the interfaces, the Win32 calls behind them,
# and the recording fakes that tests use instead of the machine's own.
add_library(qirelo_platform_system STATIC system/power.cpp)
target_include_directories(qirelo_platform_system PUBLIC ${PROJECT_SOURCE_DIR})
if(WIN32)
    target_sources(qirelo_platform_system PRIVATE win32/wave_volume.cpp win32/power.cpp)
    target_link_libraries(qirelo_platform_system PRIVATE winmm advapi32 user32)
endif()

add_library(qirelo_platform_system_fake STATIC fake/system.cpp)
target_link_libraries(qirelo_platform_system_fake PUBLIC qirelo_platform_system qirelo_platform_fake_calls)
