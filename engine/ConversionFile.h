#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class ProgramInfo;

/// One COBOL source taking part in a conversion: its path split once, the state the engine sets,
/// the names of every output file that belongs to it, and its program's seed-table record.
///
/// Threads: the engine thread writes the state and the GUI thread reads it and advances the
/// counter while drawing rows; both are atomic. The tool output has a lock of its own. The program info is made and used by the engine
/// thread only. The program-wide output directory is guarded by a lock of its own.
class ConversionFile final
{
public:
    /// A record for the source at `fullPath`. The base name is the file name without the part
    /// from its last "." on (a name without "." is kept whole); the source directory is the path
    /// before the last "/" (empty when there is none).
    explicit ConversionFile(std::string fullPath);
    ~ConversionFile();
    ConversionFile(const ConversionFile &) = delete;
    ConversionFile &operator=(const ConversionFile &) = delete;

    const std::string &fullPath() const { return m_fullPath; }
    const std::string &baseName() const { return m_baseName; }
    const std::string &sourceDirectory() const { return m_sourceDirectory; }

    /// Conversion state code (phase in the high bits, worst result in the low bits); 0 at first.
    std::uint8_t state() const { return m_state.load(); }
    void setState(std::uint8_t state) { m_state.store(state); }

    /// Display counter of the counted states; 0 at first.
    std::uint32_t counter() const { return m_counter.load(); }
    void setCounter(std::uint32_t counter) { m_counter.store(counter); }
    /// Adds one and returns the new value.
    std::uint32_t incrementCounter() { return m_counter.fetch_add(1) + 1; }
    /// Sets a counter of 0 to 1 and returns the value it then has.
    std::uint32_t ensureCounterStarted();

    /// What the tools wrote for this file during the run, as the console shows it (each tool's
    /// output followed by its "Executed:  " line) with the engine's own messages about the file.
    /// Kept so that a failed file can say why; any thread may read it.
    std::string toolOutput() const;
    /// The first line of the latest tool output or message that had any text: what a failed
    /// file's row shows at a glance. Empty when there is none.
    std::string latestMessage() const;
    /// Appends `text` to the tool output. The first non-blank line of `messageText`, when it has
    /// one, becomes the latest message (a tool's own words, not the console line after them).
    void appendToolOutput(const std::string &text, const std::string &messageText);
    void clearToolOutput();

    /// The program's seed-table record, made on first request with the base name as its name and
    /// kept (and owned) by this record from then on.
    ProgramInfo &programInfo();
    bool hasProgramInfo() const { return m_programInfo != nullptr; }

    /// Output names: output directory + "/" + base name + extension.
    std::string adtName() const { return outputName(".adt"); }
    std::string xlgName() const { return outputName(".xlg"); }
    std::string xcaName() const { return outputName(".xca"); }
    std::string xrlName() const { return outputName(".xrl"); }
    /// The expanded source kelmkpu writes beside its findings for the analysis views.
    std::string xpdName() const { return outputName(".xpd"); }
    std::string cvtName() const { return outputName(".cvt"); }
    std::string crsName() const { return outputName(".crs"); }
    /// Source directory + "/" + base name + ".crs" (where the conversion aid leaves its report).
    std::string sourceCrsName() const;

    /// The program-wide conversion log: output directory + "/chxconv.log".
    static std::string logName();

    /// The program-wide output directory that every output name starts with. Set once after
    /// Finish, before the engine starts; empty until then.
    static void setOutputDirectory(std::string directory);
    static std::string outputDirectory();

private:
    std::string outputName(const char *extension) const;

    std::string m_fullPath;
    std::string m_baseName;
    std::string m_sourceDirectory;
    std::atomic<std::uint8_t> m_state = 0;
    std::atomic<std::uint32_t> m_counter = 0;
    mutable std::mutex m_outputLock;
    std::string m_toolOutput;    // guarded by m_outputLock
    std::string m_latestMessage; // guarded by m_outputLock
    std::unique_ptr<ProgramInfo> m_programInfo;
};
