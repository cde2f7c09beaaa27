#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class ConversionFile;

/// The sources chosen for a conversion, as `ConversionFile` records in the order they were added;
/// the collection owns them. Two records for the same full path count as one: adding a second
/// one reports that it was not newly added and changes nothing.
///
/// Threads: the GUI changes the collection while the wizard runs; after Finish it is only read
/// (by the progress window and the engine), so it needs no lock.
class ConversionFileCollection final
{
public:
    ConversionFileCollection();
    ~ConversionFileCollection();
    ConversionFileCollection(const ConversionFileCollection &) = delete;
    ConversionFileCollection &operator=(const ConversionFileCollection &) = delete;

    /// Adds `record`; the record as now held when it was newly added, else null (`record` is
    /// then destroyed and the collection is unchanged). A null `record` is not added.
    ConversionFile *add(std::unique_ptr<ConversionFile> record);
    /// Adds a record for the source `fullPath`; true when it was newly added.
    bool add(const std::string &fullPath);
    /// Removes (and destroys) the record for `fullPath`; true when one was held.
    bool remove(const std::string &fullPath);
    bool contains(const std::string &fullPath) const;
    /// The record for `fullPath`, null when none is held.
    ConversionFile *find(const std::string &fullPath) const;

    std::size_t size() const { return m_records.size(); }
    bool isEmpty() const { return m_records.empty(); }
    /// The record at `index` (0-based, below size()).
    ConversionFile &at(std::size_t index) const { return *m_records.at(index); }
    /// The records in collection order; they stay valid until removed or the collection ends.
    std::vector<ConversionFile *> records() const;
    /// The full paths in collection order.
    std::vector<std::string> paths() const;

private:
    std::vector<std::unique_ptr<ConversionFile>> m_records;
};
