#pragma once

#include "GenericScreenPanel.h"

#include <string>
#include <utility>

class ConversionFileCollection;
class ResourceLibrary;

/// The panel on which the user sets the seed file, the output directory and the conversion title.
///
/// The three entry fields are bound to the wizard's strings (not copies), so what the user types
/// lands there when the kit gathers the panel. Next checks the values: every field must be filled,
/// the seed file must be an existing file, the title and paths must fit on one line, neither the
/// seed file nor a source may lie where the run writes (a result name or the log in the output
/// directory), and a missing output directory is created after the user agrees. The strings keep
/// the text as typed (a trailing "/" included).
class SeedFilePanel final : public GenericScreenPanel
{
    Q_OBJECT

public:
    /// Entry fields, in panel order (the numbers setFocusToControl and entryField take).
    enum Field : int { seedFileField = 1, outputDirectoryField = 2, titleField = 3 };
    /// Buttons, in panel order (the numbers buttonPressed receives).
    enum Button : int { seedFileButton = 1, outputDirectoryButton = 2 };

    /// `files` (the sources chosen), `seedFile`, `outputDirectory` and `conversionTitle` must
    /// outlive the panel.
    SeedFilePanel(const ResourceLibrary &resources,
                  const ConversionFileCollection &files,
                  std::string &seedFile,
                  std::string &outputDirectory,
                  std::string &conversionTitle);

    /// Stays (stayOnPanel) after telling the user what is wrong and focusing the field to
    /// correct; otherwise nextPanel.
    unsigned short nextCheck() override;

    /// The message id for the combination of empty values; 0 when none is empty.
    static unsigned long missingValuesMessage(bool seedFileEmpty,
                                              bool outputDirectoryEmpty,
                                              bool titleEmpty);

protected:
    /// Button 1 browses for the seed file, button 2 for the output directory.
    void buttonPressed(int buttonNumber) override;

private:
    void browseSeedFile();
    void browseOutputDirectory();
    /// Asks whether to create the missing output directory and creates it; false to stay.
    bool confirmOutputDirectory();
    void showError(const QString &text);
    /// What a run over these values would refuse, and the field to correct; empty when none.
    std::pair<std::string, Field> requestProblem() const;

    const ResourceLibrary &m_resources;
    const ConversionFileCollection &m_files;
    std::string &m_seedFile;
    std::string &m_outputDirectory;
    std::string &m_conversionTitle;
};
