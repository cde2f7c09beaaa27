#pragma once

#include "ChildProcess.h"

#include <cstddef>
#include <string>
#include <vector>

/// Runs the outside tools of the passes, up to `capacity()` at a time, and hands back each
/// result when its tool has ended, in the order they end. One thread (the engine's) starts the
/// tools and takes their results; what runs them is the implementation's business.
class ToolRunner
{
public:
    /// One run of a tool.
    struct Job
    {
        /// The caller's name for the run (the passes use the file's position in the list).
        std::size_t tag = 0;
        std::string program;
        std::vector<std::string> arguments;
        /// Where the tool runs; empty: the engine's working directory.
        std::string workingDirectory;
        /// "NAME=VALUE" variables added to the tool's environment.
        std::vector<std::string> environment;
    };

    /// A run that has ended.
    struct Completion
    {
        std::size_t tag = 0;
        ChildProcess::Result result;
    };

    virtual ~ToolRunner() = default;

    /// The most runs that may be under way at a time; at least 1.
    virtual std::size_t capacity() const = 0;
    /// Runs started and not yet handed back by `next`.
    virtual std::size_t running() const = 0;
    bool hasRoom() const { return running() < capacity(); }

    /// Starts `job`; only when `hasRoom()`.
    virtual void start(Job job) = 0;
    /// Waits until a started run has ended and hands it back; only when `running()` > 0.
    virtual Completion next() = 0;
};
