# The Linux client's keyboard and pointer (X11, XTEST) and its wave volume
# (ALSA) and power-off (logind over D-Bus). Tests and tools use the fakes.
if(QIRELO_LINUX_CLIENT)
    add_library(qirelo_platform_input_linux STATIC
        linux/key_map.cpp
        linux/keyboard.cpp
        linux/pointer.cpp
        linux/x_display.cpp)
    target_include_directories(qirelo_platform_input_linux PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(qirelo_platform_input_linux PUBLIC qirelo_platform_input X11::X11 X11::Xtst)

    add_library(qirelo_platform_system_linux STATIC linux/wave_volume.cpp linux/power.cpp)
    target_link_libraries(qirelo_platform_system_linux PUBLIC qirelo_platform_system
        PRIVATE ALSA::ALSA Qt6::DBus)
endif()
