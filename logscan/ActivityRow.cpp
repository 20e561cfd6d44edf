#include "logscan/ActivityRow.h"

#include <array>
#include <memory>
#include <cstring>
#include <string>

#include "logscan/CsvField.h"
#include "notes/NotesStatuses.h"

namespace logscan {
namespace {

bool Holds(const ActivityItemMap& items, const char* first, const char* second) {
    return items.Contains(first) && items.Contains(second);
}

// The fields of a row's item values, each the empty field when the record lacks the item, each
// ended by a NUL for the row's format. One buffer holds them all; a row of small values needs no
// allocation.
template <std::size_t N>
class Fields {
public:
    Fields(const ActivityItemMap& items, const std::array<const char*, N>& names) {
        std::array<std::string_view, N> values;
        std::size_t room = 0;
        for (std::size_t i = 0; i < N; ++i) {
            values[i] = items.Find(names[i]).value_or(std::string_view());
            room += CsvFieldRoom(values[i].size()) + 1;
        }
        char* out = Buffer(room);
        std::array<std::size_t, N> starts;
        for (std::size_t i = 0; i < N; ++i) {
            starts[i] = static_cast<std::size_t>(out - buffer_);
            out = WriteCsvField(values[i], out);
            *out++ = '\0';
        }
        for (std::size_t i = 0; i < N; ++i) fields_[i] = buffer_ + starts[i];
    }
    Fields(const Fields&) = delete;
    Fields& operator=(const Fields&) = delete;

    const char* operator[](std::size_t i) const { return fields_[i]; }

private:
    char* Buffer(std::size_t room) {
        if (room > sizeof local_) {
            heap_.reset(new char[room]);
            return buffer_ = heap_.get();
        }
        return buffer_ = local_;
    }

    char local_[2048];
    std::unique_ptr<char[]> heap_;
    char* buffer_ = nullptr;
    std::array<const char*, N> fields_;
};

}  // namespace

notes::NotesStatus WriteActivityRow(std::FILE* output, const char* eventType,
                                    const char* eventTime, const ActivityItemMap& items) {
    int printed = 0;
    if (std::strcmp(eventType, "Domino.NOTES.Database") == 0) {
        if (!Holds(items, "DatabaseName", "UserName")) return 0;
        const Fields<7> f(items, {"DatabaseName", "UserName", "SessionId", "EventType",
                                  "DocumentsRead", "DocumentsWritten", "ServerName"});
        printed = std::fprintf(output, "%s,%s,%s,%s,,%s,%s,%s,%s,%s,%s,%s\n", "", f[0], f[1], "",
                               eventType, eventTime, f[2], f[3], f[4], f[5], f[6]);
    } else if (std::strcmp(eventType, "Domino.HTTP") == 0) {
        if (!Holds(items, "RequestLine", "AuthUser")) return 0;
        const Fields<6> f(items, {"RequestLine", "AuthUser", "Partner", "URITranslated",
                                  "UserAgent", "StatusCode"});
        printed = std::fprintf(output, "%s,%s,%s,%s,%s,%s,%s,%s,%s,,\n", "", f[0], f[1], f[2], f[3],
                               eventType, eventTime, f[4], f[5]);
    } else if (std::strcmp(eventType, "Domino.AGENT") == 0) {
        if (!Holds(items, "TaskName", "UserName")) return 0;
        const Fields<4> f(items, {"DatabaseName", "UserName", "TaskName", "ElapsedRunTime"});
        printed = std::fprintf(output, "%s,%s,%s,%s,%s,%s,%s,,,,\n", "", f[0], f[1], f[2], f[3],
                               eventType, eventTime);
    }
    return printed < 0 ? notes::kStatusIoError : notes::NotesStatus{0};
}

}  // namespace logscan
