#pragma once

#include <QFont>

/// Fonts the kit gives its users.
class EFont final
{
public:
    /// The font for small controls such as push buttons next to lists: the desktop's button font.
    static QFont helper();
};
