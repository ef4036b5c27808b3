# The update texts: messages/messages.txt is turned, at configure time, into
# the compiled-in table and the Windows string table (upgrade_messages.rc,
# which the program's resource script includes). Editing either source
# reconfigures.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(messages_source ${CMAKE_CURRENT_SOURCE_DIR}/messages/messages.txt)
set(messages_generator ${CMAKE_CURRENT_SOURCE_DIR}/messages/make_messages.py)
set(messages_header_dir ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(QIRELO_UPGRADE_MESSAGES_RC ${CMAKE_CURRENT_BINARY_DIR}/generated/upgrade_messages.rc
    CACHE INTERNAL "The string table of the update texts, for the program's resources")
file(MAKE_DIRECTORY ${messages_header_dir}/upgrade/messages)
execute_process(
    COMMAND ${Python3_EXECUTABLE} ${messages_generator} ${messages_source}
            ${messages_header_dir}/upgrade/messages/message_table_data.h
            ${QIRELO_UPGRADE_MESSAGES_RC}
    RESULT_VARIABLE messages_result
    ERROR_VARIABLE messages_error)
if(NOT messages_result EQUAL 0)
    message(FATAL_ERROR "upgrade messages: ${messages_error}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${messages_source} ${messages_generator})

# The table itself and the language rules: portable.
add_library(qirelo_upgrade_message_table STATIC messages/message_table.cpp messages/language.cpp)
target_include_directories(qirelo_upgrade_message_table PUBLIC ${PROJECT_SOURCE_DIR}
    PRIVATE ${messages_header_dir})

# Message(n) in the language in use, from the resources (Windows) or the
# compiled-in table (Linux).
add_library(qirelo_upgrade_messages STATIC messages/messages.cpp)
if(WIN32)
    target_sources(qirelo_upgrade_messages PRIVATE win32/string_resources.cpp
        win32/system_lang_id.cpp)
else()
    target_sources(qirelo_upgrade_messages PRIVATE linux/string_resources.cpp
        linux/system_lang_id.cpp)
endif()
target_link_libraries(qirelo_upgrade_messages PUBLIC qirelo_upgrade_message_table
    qirelo_platform_profile)
