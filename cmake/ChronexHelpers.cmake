# Shared helpers for the component CMakeLists files.

# Whether a target may link Qt: the std-only layers (engine, envlib, exceptions, tools/cobol) must
# not. chronex_std_only(target) fails the configure step when one of them picks Qt up.
function(chronex_std_only target)
    set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    get_target_property(libs ${target} LINK_LIBRARIES)
    if(libs)
        foreach(lib ${libs})
            if(lib MATCHES "^Qt")
                message(FATAL_ERROR "${target} is a std-only target but links ${lib}")
            endif()
        endforeach()
    endif()
endfunction()

# chronex_link_for_quick_start(target)
# A program that the conversion starts once per source and pass, thousands of times, and whose
# run on a small program takes a few milliseconds: it is linked as a static PIE, so that no shared
# library is searched, loaded or relocated at start (about half of such a run otherwise). A static
# PIE keeps address space randomisation and must carry no library search path: the C library's
# start-up refuses to run one. Sanitizer and fuzzing builds need the dynamic loader and keep the
# ordinary link. The target must link static archives only.
function(chronex_link_for_quick_start target)
    if(NOT CHRONEX_SANITIZE AND NOT CHRONEX_TSAN AND NOT CHRONEX_FUZZ)
        target_link_options(${target} PRIVATE -static-pie)
        set_target_properties(${target} PROPERTIES SKIP_BUILD_RPATH ON INSTALL_RPATH "")
    endif()
endfunction()

# chronex_add_test(NAME <name> SOURCES <files...> [LIBS <libs...>] [TIMEOUT <s>] [ENVIRONMENT <k=v...>]
#                  [WORKING_DIRECTORY <dir>] [TSAN])
# A test executable run under CTest. GoogleTest programs link GTest::gtest_main unless they bring
# their own main(); Qt Test programs bring their own main through QTEST_MAIN. Every test has a
# timeout, runs on Qt's offscreen platform, and finds the build tree's data directory.
# TSAN marks a std-only test whose threads ThreadSanitizer checks: it gets the label "tsan", which
# the tsan presets build (target tsan_tests) and run (make test-tsan).
function(chronex_add_test)
    cmake_parse_arguments(T "QT;GTEST_MAIN;TSAN" "NAME;TIMEOUT;WORKING_DIRECTORY" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
    if(T_QT)
        target_link_libraries(${T_NAME} PRIVATE Qt6::Test)
    elseif(T_GTEST_MAIN)
        target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gmock)
    else()
        target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main GTest::gmock)
    endif()
    if(NOT T_WORKING_DIRECTORY)
        set(T_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${T_WORKING_DIRECTORY})
    set_tests_properties(${T_NAME} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-cache;CHRONEX_DATA_DIR=${CHRONEX_DATA_OUTPUT_DIR};CHRONEX_BIN_DIR=${CMAKE_RUNTIME_OUTPUT_DIRECTORY};CHRONEX_SOURCE_DIR=${CMAKE_SOURCE_DIR};ASAN_OPTIONS=detect_leaks=0;${T_ENVIRONMENT}")
    if(T_TSAN)
        set_tests_properties(${T_NAME} PROPERTIES LABELS tsan)
        if(TARGET tsan_tests)
            add_dependencies(tsan_tests ${T_NAME})
        endif()
    endif()
endfunction()

# chronex_add_resource_library(NAME <KELWIZRS> DIRECTORY <dir>)
# Packs <dir>/strings*.txt and <dir>/images/* into share/chronex/resources/<NAME>.rcc, the
# resource library that ResourceLibrary::load("<NAME>") opens at run time.
function(chronex_add_resource_library)
    cmake_parse_arguments(R "" "NAME;DIRECTORY" "" ${ARGN})
    file(GLOB_RECURSE files CONFIGURE_DEPENDS RELATIVE ${R_DIRECTORY}
         ${R_DIRECTORY}/strings*.txt ${R_DIRECTORY}/images/*)
    set(qrc ${CMAKE_CURRENT_BINARY_DIR}/${R_NAME}.qrc)
    set(content "<RCC>\n  <qresource prefix=\"/${R_NAME}\">\n")
    foreach(f ${files})
        string(APPEND content "    <file alias=\"${f}\">${R_DIRECTORY}/${f}</file>\n")
    endforeach()
    string(APPEND content "  </qresource>\n</RCC>\n")
    file(GENERATE OUTPUT ${qrc} CONTENT "${content}")
    set(out ${CHRONEX_DATA_OUTPUT_DIR}/resources/${R_NAME}.rcc)
    list(TRANSFORM files PREPEND ${R_DIRECTORY}/ OUTPUT_VARIABLE deps)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CHRONEX_DATA_OUTPUT_DIR}/resources
        COMMAND Qt6::rcc --binary ${qrc} -o ${out}
        DEPENDS ${qrc} ${deps}
        COMMENT "Packing resource library ${R_NAME}")
    add_custom_target(resource_${R_NAME} ALL DEPENDS ${out})
    install(FILES ${out} DESTINATION ${CHRONEX_DATA_INSTALL_DIR}/resources)
endfunction()

# chronex_add_fuzzer(NAME <name> SOURCES <files...> LIBS <libs...> CORPUS <dir>)
# A libFuzzer target, built only with CHRONEX_FUZZ (clang). scripts/run-fuzzers.sh runs it for a
# bounded time starting from a copy of CORPUS.
function(chronex_add_fuzzer)
    if(NOT CHRONEX_FUZZ)
        return()
    endif()
    cmake_parse_arguments(F "" "NAME;CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${F_NAME} ${F_SOURCES})
    set_target_properties(${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-bin)
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
    file(WRITE ${CMAKE_BINARY_DIR}/fuzz-bin/${F_NAME}.corpus ${F_CORPUS})
    add_dependencies(fuzzers ${F_NAME})
endfunction()
