# Opening a page in the user's browser (the .html opener of the registry, the
# shell's "open"; xdg-open on Linux) and the on-line check. The look-up rule
# is portable over a registry branch; each platform supplies the calls.
add_library(qirelo_platform_shell STATIC shell/html_opener.cpp shell/online.cpp)
target_include_directories(qirelo_platform_shell PUBLIC ${PROJECT_SOURCE_DIR})
# ASCII case folding of key names.
target_link_libraries(qirelo_platform_shell PRIVATE qirelo_text)
if(WIN32)
    target_sources(qirelo_platform_shell PRIVATE
        win32/registry_keys.cpp win32/shell.cpp win32/online.cpp)
    target_link_libraries(qirelo_platform_shell PRIVATE shell32 advapi32 user32 ws2_32)
else()
    target_sources(qirelo_platform_shell PRIVATE linux/shell.cpp linux/online.cpp)
endif()

add_library(qirelo_platform_shell_fake STATIC fake/shell.cpp)
target_link_libraries(qirelo_platform_shell_fake PUBLIC qirelo_platform_shell
    qirelo_platform_fake_calls PRIVATE qirelo_text)
