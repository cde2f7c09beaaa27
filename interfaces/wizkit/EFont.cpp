#include "EFont.h"

#include <QApplication>

QFont EFont::helper()
{
    return QApplication::font("QPushButton");
}
