# qirelo_platform_fpu: the x87 control word, on its own so that the worker
# threads can take the process's word without the rest of the profile.
add_library(qirelo_platform_fpu STATIC profile/x87_fpu.cpp)
target_include_directories(qirelo_platform_fpu PUBLIC ${PROJECT_SOURCE_DIR})

# qirelo_platform_profile: INI files, computer name, code pages, the
# executable's folder, and (through qirelo_platform_fpu) the x87 control word.
# The INI rules and UTF-8/UTF-16 are portable; each platform supplies its own
# calls.
add_library(qirelo_platform_profile STATIC
    profile/html_text.cpp
    profile/ini_file.cpp
    profile/ini_text.cpp
    profile/utf.cpp
)
target_include_directories(qirelo_platform_profile PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(qirelo_platform_profile PUBLIC qirelo_platform_fpu)
if(WIN32)
    target_sources(qirelo_platform_profile PRIVATE win32/codepage.cpp win32/profile.cpp)
else()
    target_sources(qirelo_platform_profile PRIVATE linux/codepage.cpp linux/profile.cpp)
endif()

add_library(qirelo_platform_profile_fake STATIC fake/profile.cpp)
target_link_libraries(qirelo_platform_profile_fake PUBLIC qirelo_platform_profile)

# The fakes of every concern behind one services bundle (platform/fake/services.h).
add_library(qirelo_platform_fake_services INTERFACE)
target_link_libraries(qirelo_platform_fake_services INTERFACE qirelo_platform_profile_fake
    qirelo_platform_input_fake qirelo_platform_system_fake)
