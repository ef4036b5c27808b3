# The Linux client (Qt 6 Widgets and WebEngine, X11 input through XTEST, ALSA,
# logind over D-Bus) is part of every native tree: required there, never built
# by the MinGW trees or the fuzz tree.
set(QIRELO_LINUX_CLIENT OFF)
if(NOT WIN32 AND NOT CMAKE_CROSSCOMPILING AND NOT QIRELO_FUZZ)
    set(QIRELO_LINUX_CLIENT ON)
    find_package(Qt6 6.2 REQUIRED COMPONENTS Core Gui Widgets DBus WebEngineWidgets)
    find_package(X11 REQUIRED)
    if(NOT X11_XTest_FOUND)
        message(FATAL_ERROR "libXtst not found: apt-get install libxtst-dev")
    endif()
    find_package(ALSA REQUIRED)
endif()
