#include "ConversionFile.h"

#include "PathNames.h"
#include "ProgramInfo.h"

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
