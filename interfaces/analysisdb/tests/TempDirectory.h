#pragma once

#include "TemporaryDirectory.h"

/// The analysis database tests' name for the shared temporary directory.
using TempDirectory = TemporaryDirectory;
