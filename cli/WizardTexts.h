#pragma once

#include <string>

/// The texts of the wizard's resource library "KELWIZRS" that the engine asks for. When the
/// library cannot be loaded (or the program is built without Qt) built-in texts of the same
/// meaning stand in, so console messages never lose their words.
class WizardTexts final
{
public:
    /// The text with `id`; a built-in text, or empty for an id without one, when the library
    /// has none.
    static std::string text(unsigned long id);

    /// The built-in text with `id`, empty when there is none.
    static std::string builtIn(unsigned long id);
};
