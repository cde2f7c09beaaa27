# The wizard's own panels: seed file, COBOL file selection and summary.
target_sources(kelwiz_gui PRIVATE
    SeedFilePanel.cpp SeedFilePanel.h)
