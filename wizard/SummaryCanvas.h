#pragma once

#include <QWidget>

#include <string>

class ConversionFileCollection;
class EStaticText;
class FileListContainer;
class ResourceLibrary;

/// The content of the summary panel: the files to convert, read-only, and the seed file, output
/// directory and conversion title, each after its label.
///
/// A value is shown inside the kit mark-up "<color=black>" ... "</color></size>" (the label's
/// text opens the size tag); the value itself is not escaped, and the kit shows text that is no
/// tag of its own as written.
class SummaryCanvas final : public QWidget
{
    Q_OBJECT

public:
    /// Control ids, as offsets from the canvas's base id.
    enum ControlOffset : unsigned long {
        fileListOffset = 1,
        listHeadingOffset = 2,
        headingOffset = 3,
        seedFileOffset = 4,
        outputDirectoryOffset = 5,
        titleOffset = 6,
        closingOffset = 7,
    };

    /// Builds the canvas in `parent` from the current values; `files` must outlive the canvas.
    SummaryCanvas(QWidget *parent,
                  unsigned long controlId,
                  ConversionFileCollection &files,
                  const ResourceLibrary &resources,
                  const std::string &seedFile,
                  const std::string &outputDirectory,
                  const std::string &conversionTitle);

    FileListContainer *fileList() const { return m_fileList; }
    EStaticText *seedFileLine() const { return m_seedFile; }
    EStaticText *outputDirectoryLine() const { return m_outputDirectory; }
    EStaticText *titleLine() const { return m_title; }

    /// The mark-up of a value line: `label` + "<color=black>" + `value` + "</color></size>".
    static QString valueLine(const QString &label, const std::string &value);

private:
    FileListContainer *m_fileList = nullptr;
    EStaticText *m_seedFile = nullptr;
    EStaticText *m_outputDirectory = nullptr;
    EStaticText *m_title = nullptr;
};
