#include "CicsCommandTable.h"

#include <map>
#include <sstream>

namespace cobol {

namespace {

// Each entry: the command, then its options with a code for their argument: S read, T written,
// B read and written, N resource name, L label, F no argument, O optional read argument. An
// option "*" gives the code for every option not listed (ASSIGN writes all of them).
constexpr const char *commandTable[] = {
    "ABEND ABCODE:N CANCEL:F NODUMP:F",
    "ADDRESS ACEE:T COMMAREA:T CWA:T EIB:T TCTUA:T TWA:T",
    "ADDRESS SET SET:T USING:S",
    "ALLOCATE SESSION:N PARTNER:N PROFILE:N NOQUEUE:F NOSUSPEND:F STATE:T",
    "ASKTIME ABSTIME:T",
    "ASSIGN *:T",
    "BIF DEEDIT FIELD:B LENGTH:S",
    "CANCEL REQID:N TRANSID:N",
    "CONVERSE FROM:S FROMLENGTH:S FROMFLENGTH:S INTO:T SET:T TOLENGTH:B TOFLENGTH:B MAXLENGTH:S "
    "MAXFLENGTH:S NOTRUNCATE:F ERASE:F DEFAULT:F ALTERNATE:F CTLCHAR:S STRFIELD:F",
    "DELAY INTERVAL:S TIME:S FOR:F UNTIL:F HOURS:S MINUTES:S SECONDS:S MILLISECS:S REQID:N",
    "DELETE FILE:N DATASET:N TOKEN:S RIDFLD:S KEYLENGTH:S GENERIC:F NOSUSPEND:F RBA:F RRN:F "
    "NUMREC:T REQID:S",
    "DELETE CONTAINER CONTAINER:N CHANNEL:N",
    "DELETEQ TD QUEUE:N",
    "DELETEQ TS QUEUE:N QNAME:N",
    "DEQ RESOURCE:S LENGTH:S UOW:F TASK:F MAXLIFETIME:S",
    "DUMP TRANSACTION DUMPCODE:N FROM:S LENGTH:S FLENGTH:S COMPLETE:F TRT:F SEGMENTLIST:S "
    "LENGTHLIST:S NUMSEGMENTS:S TASK:F STORAGE:F PROGRAM:F TERMINAL:F TABLES:F DCT:F FCT:F PCT:F "
    "PPT:F SIT:F TCT:F DUMPID:T",
    "ENDBR FILE:N DATASET:N REQID:S",
    "ENQ RESOURCE:S LENGTH:S UOW:F TASK:F MAXLIFETIME:S NOSUSPEND:F",
    "ENTER TRACENUM TRACENUM:S FROM:S FROMLENGTH:S RESOURCE:S EXCEPTION:F",
    "FORMATTIME ABSTIME:S DATE:T FULLDATE:T DATEFORM:T DATESEP:O DAYCOUNT:T DAYOFMONTH:T "
    "DAYOFWEEK:T DDMMYY:T DDMMYYYY:T MILLISECONDS:T MMDDYY:T MMDDYYYY:T MONTHOFYEAR:T TIME:T "
    "TIMESEP:O YEAR:T YYDDD:T YYDDMM:T YYMMDD:T YYYYDDD:T YYYYDDMM:T YYYYMMDD:T STRINGFORMAT:S "
    "STRINGZONE:S DATESTRING:T",
    "FREEMAIN DATA:S DATAPOINTER:S",
    "GET CONTAINER CONTAINER:N CHANNEL:N INTO:T SET:T FLENGTH:B BYTEOFFSET:S NODATA:F "
    "INTOCCSID:S INTOCODEPAGE:S CONVERTST:T CCSID:T",
    "GET COUNTER COUNTER:N POOL:N VALUE:T INCREMENT:S MINIMUM:T MAXIMUM:T REDUCE:F WRAP:F "
    "COMPAREMIN:S COMPAREMAX:S",
    "GETMAIN SET:T LENGTH:S FLENGTH:S BELOW:F INITIMG:S NOSUSPEND:F SHARED:F USERDATAKEY:F "
    "CICSDATAKEY:F EXECUTABLE:F",
    "HANDLE ABEND PROGRAM:N LABEL:L CANCEL:F RESET:F",
    "HANDLE AID *:L",
    "HANDLE CONDITION *:L",
    "IGNORE CONDITION *:F",
    "INQUIRE *:T",
    "LINK PROGRAM:N COMMAREA:B LENGTH:S DATALENGTH:S SYNCONRETURN:F TRANSID:N INPUTMSG:S "
    "INPUTMSGLEN:S CHANNEL:N",
    "LOAD PROGRAM:N SET:T LENGTH:T FLENGTH:T ENTRY:T HOLD:F",
    "POP HANDLE",
    "POST INTERVAL:S TIME:S AFTER:F AT:F HOURS:S MINUTES:S SECONDS:S SET:T REQID:N",
    "PUSH HANDLE",
    "PUT CONTAINER CONTAINER:N CHANNEL:N FROM:S FLENGTH:S BIT:F CHAR:F FROMCCSID:S "
    "FROMCODEPAGE:S DATATYPE:S APPEND:F",
    "QUERY SECURITY RESTYPE:S RESCLASS:S RESID:S RESIDLENGTH:S READ:T UPDATE:T CONTROL:T "
    "ALTER:T LOGMESSAGE:S USERID:S",
    "READ FILE:N DATASET:N INTO:T SET:T RIDFLD:B KEYLENGTH:S GENERIC:F LENGTH:B DEBKEY:F "
    "DEBREC:F RBA:F RRN:F XRBA:F GTEQ:F EQUAL:F UPDATE:F TOKEN:T CONSISTENT:F NOSUSPEND:F "
    "REPEATABLE:F UNCOMMITTED:F",
    "READNEXT FILE:N DATASET:N INTO:T SET:T RIDFLD:B KEYLENGTH:S LENGTH:B REQID:S RBA:F RRN:F "
    "XRBA:F UPDATE:F TOKEN:T NOSUSPEND:F",
    "READPREV FILE:N DATASET:N INTO:T SET:T RIDFLD:B KEYLENGTH:S LENGTH:B REQID:S RBA:F RRN:F "
    "XRBA:F UPDATE:F TOKEN:T NOSUSPEND:F",
    "READQ TD QUEUE:N INTO:T SET:T LENGTH:B NOSUSPEND:F",
    "READQ TS QUEUE:N QNAME:N INTO:T SET:T LENGTH:B ITEM:B NEXT:F NUMITEMS:T",
    "RECEIVE INTO:T SET:T LENGTH:B FLENGTH:B MAXLENGTH:S MAXFLENGTH:S NOTRUNCATE:F ASIS:F "
    "BUFFER:F",
    "RECEIVE MAP MAP:N MAPSET:N INTO:T SET:T FROM:S LENGTH:S TERMINAL:F ASIS:F INPARTN:T",
    "RELEASE PROGRAM:N",
    "RESETBR FILE:N DATASET:N RIDFLD:S KEYLENGTH:S GENERIC:F REQID:S RBA:F RRN:F XRBA:F GTEQ:F "
    "EQUAL:F",
    "RETRIEVE INTO:T SET:T LENGTH:B RTRANSID:T RTERMID:T QUEUE:T WAIT:F",
    "RETURN TRANSID:N COMMAREA:S LENGTH:S CHANNEL:N IMMEDIATE:F INPUTMSG:S INPUTMSGLEN:S "
    "ENDACTIVITY:F",
    "REWRITE FILE:N DATASET:N FROM:S LENGTH:S TOKEN:S NOSUSPEND:F",
    "SEND FROM:S LENGTH:S FLENGTH:S WAIT:F INVITE:F LAST:F ERASE:F DEFAULT:F ALTERNATE:F "
    "CTLCHAR:S STRFIELD:F DEFRESP:F",
    "SEND CONTROL ERASE:F ERASEAUP:F FREEKB:F ALARM:F FRSET:F CURSOR:O PRINT:F FORMFEED:F "
    "NLEOM:F ACCUM:F TERMINAL:F SET:T PAGING:F WAIT:F LAST:F REQID:S L40:F L64:F L80:F "
    "HONEOM:F MSR:S OUTPARTN:N ACTPARTN:N MAPPINGDEV:N DEFAULT:F ALTERNATE:F",
    "SEND MAP MAP:N MAPSET:N FROM:S LENGTH:S DATAONLY:F MAPONLY:F CURSOR:O ERASE:F ERASEAUP:F "
    "FREEKB:F ALARM:F FRSET:F PRINT:F FORMFEED:F NLEOM:F ACCUM:F TERMINAL:F SET:T PAGING:F "
    "WAIT:F LAST:F REQID:S L40:F L64:F L80:F HONEOM:F MSR:S OUTPARTN:N ACTPARTN:N "
    "MAPPINGDEV:N DEFAULT:F ALTERNATE:F FMHPARM:S",
    "SEND PAGE TRAILER:S SET:T RELEASE:F TRANSID:N RETAIN:F AUTOPAGE:F NOAUTOPAGE:F "
    "OPERPURGE:F FMHPARM:S LAST:F CURRENT:F ALL:F",
    "SEND TEXT FROM:S LENGTH:S CURSOR:O FORMFEED:F ERASE:F DEFAULT:F ALTERNATE:F PRINT:F "
    "FREEKB:F ALARM:F NLEOM:F HEADER:S TRAILER:S JUSTIFY:S JUSFIRST:F JUSLAST:F ACCUM:F "
    "PAGING:F TERMINAL:F WAIT:F LAST:F REQID:S L40:F L64:F L80:F HONEOM:F MSR:S OUTPARTN:N "
    "ACTPARTN:N MAPPINGDEV:N",
    "SET *:S",
    "SIGNOFF",
    "SIGNON USERID:S PASSWORD:S NEWPASSWORD:S ESMREASON:T ESMRESP:T GROUPID:S LANGUAGECODE:S "
    "LANGINUSE:T NATLANG:S NATLANGINUSE:T OIDCARD:S",
    "START TRANSID:N INTERVAL:S TIME:S AFTER:F AT:F HOURS:S MINUTES:S SECONDS:S FROM:S LENGTH:S "
    "FMH:F TERMID:N USERID:N RTRANSID:S RTERMID:S QUEUE:S REQID:N NOCHECK:F PROTECT:F "
    "CHANNEL:N",
    "STARTBR FILE:N DATASET:N RIDFLD:S KEYLENGTH:S GENERIC:F REQID:S DEBKEY:F DEBREC:F RBA:F "
    "RRN:F XRBA:F GTEQ:F EQUAL:F",
    "SUSPEND",
    "SYNCPOINT ROLLBACK:F",
    "UNLOCK FILE:N DATASET:N TOKEN:S",
    "WAIT EVENT ECADDR:S NAME:N",
    "WRITE FILE:N DATASET:N FROM:S RIDFLD:B KEYLENGTH:S LENGTH:S RBA:F RRN:F XRBA:F "
    "MASSINSERT:F NOSUSPEND:F",
    "WRITE OPERATOR TEXT:S TEXTLENGTH:S ROUTECODES:S NUMROUTES:S EVENTUAL:F ACTION:S "
    "CRITICAL:F IMMEDIATE:F REPLY:T MAXLENGTH:S REPLYLENGTH:T TIMEOUT:S",
    "WRITEQ TD QUEUE:N FROM:S LENGTH:S",
    "WRITEQ TS QUEUE:N QNAME:N FROM:S LENGTH:S NUMITEMS:T ITEM:B REWRITE:F MAIN:F AUXILIARY:F "
    "NOSUSPEND:F",
    "XCTL PROGRAM:N COMMAREA:S LENGTH:S CHANNEL:N INPUTMSG:S INPUTMSGLEN:S",
};

using Options = std::map<std::string, CicsCommandTable::Argument, std::less<>>;

CicsCommandTable::Argument argumentOf(char code)
{
    switch (code) {
    case 'S':
        return CicsCommandTable::Argument::Source;
    case 'T':
        return CicsCommandTable::Argument::Target;
    case 'B':
        return CicsCommandTable::Argument::Both;
    case 'N':
        return CicsCommandTable::Argument::Name;
    case 'L':
        return CicsCommandTable::Argument::Label;
    case 'F':
        return CicsCommandTable::Argument::Flag;
    case 'O':
        return CicsCommandTable::Argument::OptionalSource;
    default:
        return CicsCommandTable::Argument::Unknown;
    }
}

const std::map<std::string, Options, std::less<>> &commands()
{
    static const std::map<std::string, Options, std::less<>> table = [] {
        std::map<std::string, Options, std::less<>> built;
        for (const char *entry : commandTable) {
            std::istringstream words(entry);
            std::string word, name;
            Options options;
            while (words >> word) {
                const std::size_t colon = word.find(':');
                if (colon == std::string::npos) {
                    name += (name.empty() ? "" : " ") + word;
                    continue;
                }
                options[word.substr(0, colon)] = argumentOf(word[colon + 1]);
            }
            built[name] = std::move(options);
        }
        return built;
    }();
    return table;
}

} // namespace

std::string_view CicsCommandTable::command(std::string_view first,
                                           std::string_view second,
                                           int &words)
{
    const auto &table = commands();
    if (!second.empty()) {
        std::string both(first);
        both.append(" ").append(second);
        if (auto it = table.find(both); it != table.end()) {
            words = 2;
            return it->first;
        }
    }
    if (auto it = table.find(first); it != table.end()) {
        words = 1;
        return it->first;
    }
    // READQ, WRITEQ and DELETEQ without TS or TD name temporary storage.
    if (first == "READQ" || first == "WRITEQ" || first == "DELETEQ") {
        words = 1;
        return table.find(std::string(first) + " TS")->first;
    }
    words = 0;
    return {};
}

CicsCommandTable::Argument CicsCommandTable::argument(std::string_view command,
                                                      std::string_view option)
{
    if (option == "RESP" || option == "RESP2")
        return Argument::Target;
    if (option == "NOHANDLE")
        return Argument::Flag;
    if (option == "SYSID")
        return Argument::Name;
    const auto &table = commands();
    const auto it = table.find(command);
    if (it == table.end())
        return Argument::Unknown;
    if (auto found = it->second.find(option); found != it->second.end())
        return found->second;
    if (auto any = it->second.find("*"); any != it->second.end())
        return any->second;
    return Argument::Unknown;
}

} // namespace cobol
