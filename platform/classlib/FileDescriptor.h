#pragma once

#include <unistd.h>

/// An open file descriptor that is closed when it goes out of scope (or is reset), unless it
/// was given up with release().
class FileDescriptor final
{
public:
    explicit FileDescriptor(int fd = -1)
        : m_fd(fd)
    {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return m_fd; }
    /// Gives the descriptor up: the caller closes it.
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    /// Closes the descriptor held and holds `fd` instead.
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};
