#include "makeGrapherWindow.h"

#include "KelGrapher.h"

QWidget *makeGrapherWindow(const StartWindowData &request)
{
    auto *grapher = new KelGrapher(request);
    grapher->show();
    return grapher;
}
