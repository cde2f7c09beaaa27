# Date-field kinds, the seed-block and program-info formats, the seed table and the file records.
target_sources(chronex_engine PRIVATE
    ConversionFile.cpp ConversionFile.h
    CopybookEntry.cpp CopybookEntry.h
    DateFieldKind.cpp DateFieldKind.h
    FileStateDisplay.cpp FileStateDisplay.h
    IncludeEntry.cpp IncludeEntry.h
    KindInterval.h
    KindIntervalList.cpp KindIntervalList.h
    ProgramInfo.h
    ProgramInfoReader.cpp ProgramInfoReader.h
    SeedTable.cpp SeedTable.h
    XcompTrace.cpp XcompTrace.h)

chronex_add_fuzzer(NAME fuzz_program_info
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzProgramInfo.cpp
    LIBS chronex_engine
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/program_info)
chronex_add_fuzzer(NAME fuzz_input_settings
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzInputSettings.cpp
    LIBS chronex_engine
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/input_settings)
