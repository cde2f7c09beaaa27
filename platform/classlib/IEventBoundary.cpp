#include "IEventBoundary.h"

#include "IException.h"
#include "ITrace.h"

#include <QtGlobal>

#include <exception>
#include <string>

namespace IEventBoundary {

bool call(std::string_view where, const std::function<bool()> &work)
{
    std::string what;
    try {
        return work();
    } catch (const IException &exception) {
        what = std::string(exception.name()) + ": " + exception.text();
    } catch (const std::exception &exception) {
        what = exception.what();
    } catch (...) {
        what = "an exception of unknown type";
    }
    const std::string message = std::string(where) + " failed: " + what;
    ITrace::write("CLASSLIB", message);
    qWarning("%s", message.c_str());
    return false;
}

} // namespace IEventBoundary
