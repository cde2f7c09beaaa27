#include "ConversionFile.h"

#include "PathNames.h"
#include "ProgramInfo.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex outputDirectoryLock;
std::string &outputDirectoryValue() // guarded by outputDirectoryLock
{
    static std::string directory;
    return directory;
}

} // namespace

ConversionFile::ConversionFile(std::string fullPath)
    : m_fullPath(std::move(fullPath))
    , m_baseName(PathNames::baseName(m_fullPath))
    , m_sourceDirectory(PathNames::directory(m_fullPath))
{}

ConversionFile::~ConversionFile() = default;

std::uint32_t ConversionFile::ensureCounterStarted()
{
    std::uint32_t expected = 0;
    if (m_counter.compare_exchange_strong(expected, 1))
        return 1;
    return expected;
}

std::string ConversionFile::toolOutput() const
{
    const std::lock_guard lock(m_outputLock);
    return m_toolOutput;
}

std::string ConversionFile::latestMessage() const
{
    const std::lock_guard lock(m_outputLock);
    return m_latestMessage;
}

void ConversionFile::appendToolOutput(const std::string &text, const std::string &messageText)
{
    std::string first;
    for (std::size_t start = 0; first.empty() && start < messageText.size();) {
        const std::size_t end = std::min(messageText.find('\n', start), messageText.size());
        const std::string line = messageText.substr(start, end - start);
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            first = line;
        start = end + 1;
    }
    if (!first.empty() && first.back() == '\r')
        first.pop_back();
    const std::lock_guard lock(m_outputLock);
    m_toolOutput += text;
    if (!first.empty())
        m_latestMessage = std::move(first);
}

void ConversionFile::clearToolOutput()
{
    const std::lock_guard lock(m_outputLock);
    m_toolOutput.clear();
    m_latestMessage.clear();
}

ProgramInfo &ConversionFile::programInfo()
{
    if (!m_programInfo)
        m_programInfo = std::make_unique<ProgramInfo>(m_baseName);
    return *m_programInfo;
}

std::string ConversionFile::sourceCrsName() const
{
    return PathNames::join(m_sourceDirectory, m_baseName + ".crs");
}

std::string ConversionFile::logName()
{
    return PathNames::join(outputDirectory(), "chxconv.log");
}

void ConversionFile::setOutputDirectory(std::string directory)
{
    const std::lock_guard lock(outputDirectoryLock);
    outputDirectoryValue() = std::move(directory);
}

std::string ConversionFile::outputDirectory()
{
    const std::lock_guard lock(outputDirectoryLock);
    return outputDirectoryValue();
}

std::string ConversionFile::outputName(const char *extension) const
{
    return PathNames::join(outputDirectory(), m_baseName + extension);
}
