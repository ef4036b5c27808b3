# qirelo_platform_profile: INI files, the computer name and the executable's
# folder, code pages. The INI rules are portable; each platform supplies its
# own calls and its GB2312 conversions.
add_library(qirelo_platform_profile STATIC
    profile/codepage.cpp
    profile/ini_file.cpp
    profile/ini_text.cpp
)
target_include_directories(qirelo_platform_profile PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(qirelo_platform_profile PUBLIC qirelo_text)
if(WIN32)
    target_sources(qirelo_platform_profile PRIVATE win32/codepage.cpp win32/profile.cpp)
else()
    target_sources(qirelo_platform_profile PRIVATE linux/codepage.cpp linux/profile.cpp)
endif()

add_library(qirelo_platform_profile_fake STATIC fake/profile.cpp)
target_link_libraries(qirelo_platform_profile_fake PUBLIC qirelo_platform_profile qirelo_platform_fpu)

# The fakes of every concern behind one services bundle (platform/fake/services.h).
add_library(qirelo_platform_fake_services INTERFACE)
target_link_libraries(qirelo_platform_fake_services INTERFACE qirelo_platform_profile_fake
    qirelo_platform_input_fake qirelo_platform_system_fake qirelo_platform_inet_fake
    qirelo_platform_shell_fake)
