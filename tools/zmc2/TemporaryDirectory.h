#pragma once

#include <string>

/// A directory made with mkdtemp (no other process can have taken its name) and removed with
/// everything in it when the object goes.
class TemporaryDirectory final
{
public:
    /// Makes "<base>/<prefix>XXXXXX"; path() is empty when that fails.
    TemporaryDirectory(const std::string &base, const std::string &prefix);
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory &) = delete;
    TemporaryDirectory &operator=(const TemporaryDirectory &) = delete;

    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};
