#pragma once

#include <QString>

/// The exceptions of the window registry: their texts (resource library KELRESRC) and the fixed
/// locations they name (file "kelipc", a function text and a line), logged in the trace under
/// "KELIPC" before they are thrown. Nothing of the registry is changed when one is thrown.
namespace KelipcErrors {

/// A location an exception names.
struct Location
{
    const char *function;
    unsigned long line;
};

inline constexpr char fileName[] = "kelipc";
inline constexpr char traceComponent[] = "KELIPC";

// --- Table or slots full: IResourceExhausted, text 600 --------------------------------------------
inline constexpr Location registerTableFull{
    "RegisterInstance::RegisterInstance(IWindowHandle,IString,unsigned long,DbEu*,DbPu*,"
    "IFrameWindow*)",
    856};
inline constexpr Location registerNoSlot{registerTableFull.function, 869};
inline constexpr Location slotConstructor{"RegisterInstance::RegisterInstance(unsigned int)", 2065};
inline constexpr Location
    copyConstructor{"RegisterInstance::RegisterInstance(const RegisterInstance&)", 1026};
inline constexpr Location finderAll{"FindLikeObject::FindLikeObject()", 2122};
inline constexpr Location finderObject{"FindLikeObject::FindLikeObject(IString)", 2181};
inline constexpr Location finderObjectView{"FindLikeObject::FindLikeObject(IString,unsigned long)",
                                           2242};
inline constexpr Location
    finderFull{"FindLikeObject::FindLikeObject(IWindowHandle,IString,unsigned long,DbEu*,DbPu*)",
               2310};
inline constexpr Location finderFrame{"FindLikeObject::FindLikeObject(IFrameWindow*)", 2367};
inline constexpr Location finderCopy{"FindLikeObject::FindLikeObject(const FindLikeObject&)", 2431};

// --- Entry gone: IInvalidRequest, text 601 -----------------------------------------------------------
inline constexpr Location handleGone{"RegisterInstance::handle()", 1758};
inline constexpr Location objectIdGone{"RegisterInstance::objectId()", 1789};
inline constexpr Location viewNumGone{"RegisterInstance::viewNum()", 1821};
inline constexpr Location euidNumGone{"RegisterInstance::euidNum()", 1853};
inline constexpr Location puidNumGone{"RegisterInstance::puidNum()", 1886};
inline constexpr Location onlyWindowGone{"RegisterInstance::isOnlyWindowForObject()", 1919};

/// Throws IResourceExhausted with text 600 and error id 0 at `where`, logged first.
[[noreturn]] void resourceExhausted(Location where);
/// Throws IInvalidRequest with text 601 and error id 0 at `where`, logged first.
[[noreturn]] void invalidRequest(Location where);

/// The KELRESRC text `id`; "[KELRESRC <id>]" (reported once) when it cannot be loaded.
QString text(unsigned long id);

} // namespace KelipcErrors
