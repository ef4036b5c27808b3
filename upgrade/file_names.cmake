# The local names of downloaded files: plain file names in the program's folder.
add_library(qirelo_upgrade_file_names STATIC local_file_name.cpp)
target_include_directories(qirelo_upgrade_file_names PUBLIC ${PROJECT_SOURCE_DIR})
