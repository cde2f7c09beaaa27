#pragma once

#include <string>

class DbEu;
class DbPu;
struct StartWindowData;

/// What a request thread does with a window request before the window is made: it finds the
/// request's program unit and loads it, so that the GUI thread never waits on the database.
///
/// 1. A `puName` that is a file path is reduced to its bare file name: directories (with "/" or
///    "\") and the extension go ("/src/cobol/PAYROLL.cbl" and "C:\SRC\PAYROLL.CBL" -> "PAYROLL").
/// 2. A request without a unit takes the first unit of the execution unit whose name equals
///    `puName` (an empty name takes the first unit). COBOL names are not case-sensitive, so
///    when no unit has exactly that name, the first one whose name matches without regard to
///    ASCII case is taken ("payroll.cbl" finds PAYROLL).
/// 3. The unit is loaded (DbPu::load). When that fails, message 0xF603 (KelMsg::msg, naming
///    `moduleTag` and line 399) says which unit and why; when no unit has the name, message
///    0xF60A names the name and the execution unit. The request goes on either way: the
///    factory decides what to show.
/// Std-only; runs on the request threads (DbPu::load may run on several at once).
class StartRequestResolver final
{
public:
    /// The line the load failure is reported with.
    static constexpr unsigned long loadFailureLine = 399;
    static constexpr unsigned long unitNotFoundLine = 401;

    static std::string bareName(const std::string &puName);
    /// The unit of `eu` as step 2 finds it; null when there is none.
    static DbPu *findUnit(DbEu &eu, const std::string &name);
    /// Steps 1 to 3 on `request` in `eu` (may be null: nothing is looked up).
    static void resolve(StartWindowData &request, DbEu *eu, const char *moduleTag);
};
