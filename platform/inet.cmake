# Internet transfers for the transfer engine: the boundary's interfaces
# (inet/), the platform's own library behind them (WinInet on Windows, libcurl
# on Linux) and the scripted, recording fake the engine's tests use.
if(WIN32)
    add_library(qirelo_platform_inet STATIC win32/internet.cpp win32/local_system.cpp)
    target_link_libraries(qirelo_platform_inet PRIVATE wininet)
else()
    find_package(CURL REQUIRED)
    add_library(qirelo_platform_inet STATIC linux/internet.cpp linux/local_system.cpp)
    target_link_libraries(qirelo_platform_inet PRIVATE CURL::libcurl qirelo_text)
endif()
target_include_directories(qirelo_platform_inet PUBLIC ${PROJECT_SOURCE_DIR})

add_library(qirelo_platform_inet_fake STATIC fake/internet.cpp)
target_include_directories(qirelo_platform_inet_fake PUBLIC ${PROJECT_SOURCE_DIR})
