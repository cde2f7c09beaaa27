# The wizard's own panels: COBOL file selection, seed file and summary.
target_sources(kelwiz_gui PRIVATE
    FileSelectionCanvas.cpp FileSelectionCanvas.h
    FileSelectionPanel.cpp FileSelectionPanel.h
    SeedFilePanel.cpp SeedFilePanel.h
    SummaryCanvas.cpp SummaryCanvas.h
    SummaryPanel.cpp SummaryPanel.h)
