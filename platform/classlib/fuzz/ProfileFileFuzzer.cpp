// Any text given to the profile file model: parsing never crashes, and a text it accepts is
// written back so that it reads the same, also after a change.
#include "ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::string problem;
    auto file = ProfileFile::parse(text, problem);
    if (!file)
        return 0;

    const auto sameValues = [](const ProfileFile &a, const ProfileFile &b) {
        if (a.applicationNames() != b.applicationNames())
            return false;
        for (const std::string &application : a.applicationNames()) {
            if (a.keyNames(application) != b.keyNames(application))
                return false;
            for (const std::string &key : a.keyNames(application)) {
                if (a.value(application, key) != b.value(application, key))
                    return false;
            }
        }
        return true;
    };

    auto again = ProfileFile::parse(file->text(), problem);
    if (!again || !sameValues(*file, *again))
        std::abort();

    // Change the first key of the first application (or add one) and read it back.
    const auto applications = file->applicationNames();
    const std::string application = applications.empty() ? "A" : applications.front();
    const auto keys = file->keyNames(application);
    const std::string key = keys.empty() ? "k" : keys.front();
    const std::string value = " padded value ";
    if (file->setValue(application, key, value).empty()) {
        auto changed = ProfileFile::parse(file->text(), problem);
        if (!changed || changed->value(application, key) != value)
            std::abort();
        if (file->removeKey(application, key)) {
            auto removed = ProfileFile::parse(file->text(), problem);
            if (!removed || removed->value(application, key).has_value())
                std::abort();
        }
    }
    return 0;
}
