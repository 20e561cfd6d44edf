#include "logscan/ActivityRow.h"

#include <cstring>
#include <string>

#include "logscan/CsvField.h"
#include "notes/NotesStatuses.h"

namespace logscan {
namespace {

bool Holds(const ActivityItemMap& items, const char* first, const char* second) {
    return items.contains(first) && items.contains(second);
}

// The quoted value of `name`, or the empty field when the record lacks it. A value holding a
// NUL byte is taken up to it, as far as the row's print reaches, so that a quoted field is
// never cut before its closing quote.
std::string Field(const ActivityItemMap& items, const char* name) {
    const auto found = items.find(name);
    return found == items.end() ? std::string() : QuoteCsvField(found->second.c_str());
}

}  // namespace

notes::NotesStatus WriteActivityRow(std::FILE* output, const char* eventType,
                                    const char* eventTime, const ActivityItemMap& items) {
    int printed = 0;
    if (std::strcmp(eventType, "Domino.NOTES.Database") == 0) {
        if (!Holds(items, "DatabaseName", "UserName")) return 0;
        printed = std::fprintf(output, "%s,%s,%s,%s,,%s,%s,%s,%s,%s,%s,%s\n", "",
                               Field(items, "DatabaseName").c_str(),
                               Field(items, "UserName").c_str(), "", eventType, eventTime,
                               Field(items, "SessionId").c_str(), Field(items, "EventType").c_str(),
                               Field(items, "DocumentsRead").c_str(),
                               Field(items, "DocumentsWritten").c_str(),
                               Field(items, "ServerName").c_str());
    } else if (std::strcmp(eventType, "Domino.HTTP") == 0) {
        if (!Holds(items, "RequestLine", "AuthUser")) return 0;
        printed = std::fprintf(output, "%s,%s,%s,%s,%s,%s,%s,%s,%s,,\n", "",
                               Field(items, "RequestLine").c_str(),
                               Field(items, "AuthUser").c_str(), Field(items, "Partner").c_str(),
                               Field(items, "URITranslated").c_str(), eventType, eventTime,
                               Field(items, "UserAgent").c_str(),
                               Field(items, "StatusCode").c_str());
    } else if (std::strcmp(eventType, "Domino.AGENT") == 0) {
        if (!Holds(items, "TaskName", "UserName")) return 0;
        printed = std::fprintf(output, "%s,%s,%s,%s,%s,%s,%s,,,,\n", "",
                               Field(items, "DatabaseName").c_str(),
                               Field(items, "UserName").c_str(), Field(items, "TaskName").c_str(),
                               Field(items, "ElapsedRunTime").c_str(), eventType, eventTime);
    }
    return printed < 0 ? notes::kStatusIoError : notes::NotesStatus{0};
}

}  // namespace logscan
