# The conversion run: compile arguments, the conversion options file, project creation, the
# child processes and the three passes.
target_sources(chronex_engine PRIVATE
    AnalysisPass.cpp AnalysisPass.h
    ChildProcess.cpp ChildProcess.h
    CompileArguments.cpp CompileArguments.h
    CompilePass.cpp CompilePass.h
    ConversionControl.cpp ConversionControl.h
    ConversionObserver.h
    ConversionOptionsFile.cpp ConversionOptionsFile.h
    ConversionPass.cpp ConversionPass.h
    ConversionRun.cpp ConversionRun.h
    EnginePass.cpp EnginePass.h
    EnvironmentReader.h
    ProjectCreator.cpp ProjectCreator.h)
target_link_libraries(chronex_engine PUBLIC chronex_envlib chronex_resource_ids wizkit_core)
# The analysis database's file name, for the run's final output.
target_link_libraries(chronex_engine PRIVATE keldbc)
