# Internet transfers for the transfer engine: the boundary's interfaces
# (inet/), the platform's own library behind them (WinInet on Windows, libcurl
# on Linux) and the scripted, recording fake the engine's tests use.
add_library(qirelo_platform_inet_fake STATIC fake/internet.cpp)
target_include_directories(qirelo_platform_inet_fake PUBLIC ${PROJECT_SOURCE_DIR})
