#pragma once

#include "ConversionObserver.h"

#include <iosfwd>
#include <string>

/// kelconv's view of a run. The console lines are written by the engine itself; this observer
/// adds progress lines on `progress` (when given: kelconv passes standard error on a terminal),
/// "kelconv: compile pass: 3 of 10 files done" ("analysis pass, loop 2: ..."), and keeps the
/// result. Message boxes have no place
/// here: their texts are on the console already.
class ConsoleObserver final : public ConversionObserver
{
public:
    /// `progress` may be null (no progress lines).
    explicit ConsoleObserver(std::ostream *progress);

    void fileStateChanged(ConversionFile &file, std::uint8_t state) override;
    void fileStarted(Pass pass, std::size_t index, std::size_t count) override;
    void filesDone(Pass pass, std::size_t done, std::size_t count) override;
    void countersChanged(Pass pass, unsigned success, unsigned failure) override;
    void statusText(unsigned long resourceId, const std::string &text) override;
    void childStarted(pid_t pid) override;
    void childEnded(pid_t pid) override;
    std::string resourceText(unsigned long id) override;
    void informationMessage(const std::vector<std::string> &lines) override;
    void errorMessage(const std::vector<std::string> &lines) override;
    void runFinished(const std::string &projectPath, const std::string &errorText) override;

    const std::string &projectPath() const { return m_projectPath; }
    const std::string &errorText() const { return m_errorText; }

    static const char *passName(Pass pass);

private:
    std::ostream *m_progress;
    unsigned m_analysisLoop = 0;
    std::string m_projectPath;
    std::string m_errorText;
};
