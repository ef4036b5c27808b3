# qirelo_platform_net: TCP streams and listeners. The blocking, time-limited
# and abortable behaviour is portable (net/socket.cpp); each platform supplies
# only the raw socket calls.
add_library(qirelo_platform_net STATIC
    net/name_lookup.cpp
    net/socket.cpp
    net/socket_error_text.cpp
)
if(WIN32)
    target_sources(qirelo_platform_net PRIVATE win32/socket_os.cpp)
    target_link_libraries(qirelo_platform_net PUBLIC ws2_32)
else()
    target_sources(qirelo_platform_net PRIVATE linux/socket_os.cpp)
endif()
target_include_directories(qirelo_platform_net PUBLIC ${PROJECT_SOURCE_DIR})
# A name lookup runs on a thread of its own so that its caller can stop waiting.
find_package(Threads REQUIRED)
target_link_libraries(qirelo_platform_net PUBLIC Threads::Threads)
