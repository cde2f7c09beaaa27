# The conversion run: compile arguments, the conversion options file, project creation, the
# child processes and the three passes.
target_sources(chronex_engine PRIVATE
    AnalysisDatabaseKeeper.cpp AnalysisDatabaseKeeper.h
    AnalysisLookahead.cpp AnalysisLookahead.h
    AnalysisPass.cpp AnalysisPass.h
    ChildProcess.cpp ChildProcess.h
    ChildProcessRunner.cpp ChildProcessRunner.h
    CompileArguments.cpp CompileArguments.h
    CompilePass.cpp CompilePass.h
    ConversionDefaults.cpp ConversionDefaults.h
    ConversionInputs.cpp ConversionInputs.h
    ConversionControl.cpp ConversionControl.h
    ConversionObserver.h
    ConversionOptionsFile.cpp ConversionOptionsFile.h
    ConversionPass.cpp ConversionPass.h
    ConversionRun.cpp ConversionRun.h
    EnginePass.cpp EnginePass.h
    EnvironmentReader.h
    ProjectCreator.cpp ProjectCreator.h
    ToolRunner.h)
target_link_libraries(chronex_engine PUBLIC chronex_envlib chronex_resource_ids wizkit_core)
# The analysis database's file name, for the run's final output.
target_link_libraries(chronex_engine PRIVATE keldbc)
# The analysis pass keeps a connection to the database open while the builder runs record in it.
find_package(SQLite3 REQUIRED)
target_link_libraries(chronex_engine PRIVATE SQLite::SQLite3)
