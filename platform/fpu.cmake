# qirelo_platform_fpu: the x87 floating-point control word (portable: the
# processor's own instructions, or a remembered word where there is no x87).
add_library(qirelo_platform_fpu STATIC fpu/x87_fpu.cpp)
target_include_directories(qirelo_platform_fpu PUBLIC ${PROJECT_SOURCE_DIR})
