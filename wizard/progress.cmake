# The file lists, the progress window and the conversion thread.
target_sources(kelwiz_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ConversionProgressWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConversionProgressWindow.h
    ${CMAKE_CURRENT_LIST_DIR}/ConversionSession.cpp ${CMAKE_CURRENT_LIST_DIR}/ConversionSession.h
    ${CMAKE_CURRENT_LIST_DIR}/ConversionThreadFn.cpp ${CMAKE_CURRENT_LIST_DIR}/ConversionThreadFn.h
    ${CMAKE_CURRENT_LIST_DIR}/FileListContainer.cpp ${CMAKE_CURRENT_LIST_DIR}/FileListContainer.h
    ${CMAKE_CURRENT_LIST_DIR}/FileRow.cpp ${CMAKE_CURRENT_LIST_DIR}/FileRow.h
    ${CMAKE_CURRENT_LIST_DIR}/ToolOutputDialog.cpp ${CMAKE_CURRENT_LIST_DIR}/ToolOutputDialog.h)

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

# The wizard's help pages: <data dir>/help/kelwiz/<help id>.html and index.html, the help
# library the wizard's texts name, for every panel and the progress window.
file(GLOB kelwiz_help_pages CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/help/kelwiz/*.html)
set(kelwiz_help_outputs)
foreach(page ${kelwiz_help_pages})
    get_filename_component(name ${page} NAME)
    set(output ${CHRONEX_DATA_OUTPUT_DIR}/help/kelwiz/${name})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CHRONEX_DATA_OUTPUT_DIR}/help/kelwiz
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page} ${output}
        DEPENDS ${page}
        COMMENT "Copying the wizard's help page ${name}"
        VERBATIM)
    list(APPEND kelwiz_help_outputs ${output})
endforeach()
add_custom_target(kelwiz_help ALL DEPENDS ${kelwiz_help_outputs})
add_dependencies(kelwiz_gui kelwiz_help)
install(FILES ${kelwiz_help_pages} DESTINATION ${CHRONEX_DATA_INSTALL_DIR}/help/kelwiz)
