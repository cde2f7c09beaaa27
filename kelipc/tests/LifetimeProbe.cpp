// A stand-in host for the library's load and unload: registers a window, leaves its
// registration behind on purpose and exits, so that the test can see in the trace what the
// library does when it is loaded and unloaded.
#include "IFrameWindow.h"
#include "RegisterInstance.h"
#include "WindowRegistry.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    IFrameWindow frame;
    auto *leftBehind = new RegisterInstance(frame.handle(),
                                            QStringLiteral("Browser"),
                                            592,
                                            nullptr,
                                            nullptr,
                                            &frame);
    (void) leftBehind;
    std::printf("registered %d\n", WindowRegistry::windowCount());
    return 0;
}
