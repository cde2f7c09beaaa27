chronex_add_test(NAME engine_seed_tests
    SOURCES
        ConversionFileTest.cpp
        DateFieldKindTest.cpp
        KindIntervalListTest.cpp
        ProgramInfoReaderTest.cpp
        SeedTableMergeTest.cpp
        SeedTableTest.cpp
        SeedTestSupport.h
        XcompTraceTest.cpp
    LIBS chronex_engine)
