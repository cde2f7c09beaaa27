# Tests of the conversion run: the pieces, and whole runs over the stand-in tools in standin/.
chronex_add_test(NAME engine_run_tests
    SOURCES
        AnalysisDatabaseKeeperTest.cpp
        CompileArgumentsTest.cpp
        ConversionDefaultsTest.cpp
        ConversionRunFixture.h
        ConversionRunInputTest.cpp
        ConversionRunJobsTest.cpp
        ConversionRunResultsTest.cpp
        ConversionRunTest.cpp
        ParallelAnalysisTest.cpp
        ProjectCreatorTest.cpp
        RunTestSupport.cpp RunTestSupport.h
    LIBS chronex_engine classlib_testsupport SQLite::SQLite3
    TIMEOUT 300)
