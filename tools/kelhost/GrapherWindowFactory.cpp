#include "GrapherWindowFactory.h"

#include "KelGrapherPlaceholder.h"

QWidget *makeGrapherWindow(const StartWindowData &request)
{
    auto *window = new KelGrapherPlaceholder(request);
    window->show();
    return window;
}
