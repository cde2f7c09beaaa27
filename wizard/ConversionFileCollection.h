#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class ConversionFile;

/// The sources chosen for a conversion: the ConversionFile records, owned here, in the order they
/// were added. Two records for the same full path count as one. A record whose base name a held
/// record has already is refused: the two would write the same result files.
///
/// The wizard's panels change the collection on the GUI thread; after Finish the engine thread
/// reads it and the GUI no longer changes it, so it takes no lock.
class ConversionFileCollection final
{
public:
    ConversionFileCollection();
    ~ConversionFileCollection();
    ConversionFileCollection(const ConversionFileCollection &) = delete;
    ConversionFileCollection &operator=(const ConversionFileCollection &) = delete;

    /// Takes `file` into the collection; true when it was newly added. When a record for the same
    /// full path, or another one with the same base name, is already held, `file` is destroyed
    /// and false is returned, so keep a plain pointer from before the call only for a true result.
    bool add(std::unique_ptr<ConversionFile> file);
    /// The held record of another file with the base name of `fullPath`; nullptr when none.
    const ConversionFile *sameBaseName(const std::string &fullPath) const;
    /// Takes the record `file` out of the collection and hands it back; nullptr when it is not
    /// held here.
    std::unique_ptr<ConversionFile> remove(const ConversionFile &file);
    /// The record for `fullPath`; nullptr when none is held.
    ConversionFile *find(const std::string &fullPath) const;

    std::size_t size() const { return m_files.size(); }
    bool isEmpty() const { return m_files.empty(); }
    /// Record `index` in the order of adding.
    ConversionFile &at(std::size_t index) const { return *m_files.at(index); }

    /// The full paths of the records, in order.
    std::vector<std::string> paths() const;

private:
    std::vector<std::unique_ptr<ConversionFile>> m_files;
};
