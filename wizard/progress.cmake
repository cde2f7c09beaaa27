# The file lists, the progress window and the conversion thread.
target_sources(kelwiz_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ConversionProgressWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConversionProgressWindow.h
    ${CMAKE_CURRENT_LIST_DIR}/ConversionSession.cpp ${CMAKE_CURRENT_LIST_DIR}/ConversionSession.h
    ${CMAKE_CURRENT_LIST_DIR}/ConversionThreadFn.cpp ${CMAKE_CURRENT_LIST_DIR}/ConversionThreadFn.h
    ${CMAKE_CURRENT_LIST_DIR}/FileListContainer.cpp ${CMAKE_CURRENT_LIST_DIR}/FileListContainer.h
    ${CMAKE_CURRENT_LIST_DIR}/FileRow.cpp ${CMAKE_CURRENT_LIST_DIR}/FileRow.h)

chronex_add_test(NAME kelwiz_file_list_tests QT
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/FileListContainerTest.cpp
    LIBS kelwiz_gui)
add_dependencies(kelwiz_file_list_tests resource_KELWIZRS)

chronex_add_test(NAME kelwiz_progress_window_tests QT
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/ConversionProgressWindowTest.cpp
    LIBS kelwiz_gui wizkit_testsupport)
add_dependencies(kelwiz_progress_window_tests resource_KELWIZRS)

# Whole runs over the stand-in tools of the engine's tests.
chronex_add_test(NAME kelwiz_session_tests QT
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/ConversionSessionTest.cpp
    LIBS kelwiz_gui wizkit_testsupport
    TIMEOUT 300)
add_dependencies(kelwiz_session_tests resource_KELWIZRS)

# The wizard's help page: <data dir>/help/kelwiz, the help library the wizard's texts name.
set(kelwiz_help_output ${CHRONEX_DATA_OUTPUT_DIR}/help/kelwiz)
add_custom_command(OUTPUT ${kelwiz_help_output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CHRONEX_DATA_OUTPUT_DIR}/help
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_LIST_DIR}/help/kelwiz.html
            ${kelwiz_help_output}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/help/kelwiz.html
    COMMENT "Copying the wizard's help page"
    VERBATIM)
add_custom_target(kelwiz_help ALL DEPENDS ${kelwiz_help_output})
add_dependencies(kelwiz_gui kelwiz_help)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/help/kelwiz.html
        DESTINATION ${CHRONEX_DATA_INSTALL_DIR}/help RENAME kelwiz)
