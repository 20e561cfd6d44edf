#include "logscan/ActivityRow.h"

#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "logscan/CsvField.h"
#include "notes/NotesStatuses.h"

namespace logscan {
namespace {

// A value holding a NUL byte is taken up to it, as far as the row's print reaches, so that a
// quoted field is never cut before its closing quote.
std::string_view UpToNul(std::string_view value) { return value.substr(0, value.find('\0')); }

// The items of each type's row, in the order of its columns.
constexpr std::array<ItemName, 7> kDatabaseItems = {"DatabaseName", "UserName", "SessionId", "EventType",
                                                   "DocumentsRead", "DocumentsWritten", "ServerName"};
constexpr std::array<ItemName, 6> kHttpItems = {"RequestLine", "AuthUser", "Partner", "URITranslated",
                                               "UserAgent", "StatusCode"};
constexpr std::array<ItemName, 4> kAgentItems = {"DatabaseName", "UserName", "TaskName", "ElapsedRunTime"};

// The item values of a row, looked up once; then their fields, each the empty field when the
// record lacks the item, each ended by a NUL for the row's format. One buffer holds the fields:
// a row of small values needs no allocation.
template <std::size_t N>
class Fields {
public:
    Fields(const ActivityItemMap& items, const std::array<ItemName, N>& names) {
        for (std::size_t i = 0; i < N; ++i) values_[i] = items.Find(names[i]);
    }
    Fields(const Fields&) = delete;
    Fields& operator=(const Fields&) = delete;

    bool Has(std::size_t i) const { return values_[i].has_value(); }

    void Write() {
        std::size_t room = 0;
        for (const auto& value : values_) room += CsvFieldRoom(value ? value->size() : 0) + 1;
        char* out = Buffer(room);
        std::array<std::size_t, N> starts;
        for (std::size_t i = 0; i < N; ++i) {
            starts[i] = static_cast<std::size_t>(out - buffer_);
            if (values_[i]) out = WriteCsvField(UpToNul(*values_[i]), out);
            *out++ = '\0';
        }
        for (std::size_t i = 0; i < N; ++i) fields_[i] = buffer_ + starts[i];
    }
    const char* operator[](std::size_t i) const { return fields_[i]; }

private:
    char* Buffer(std::size_t room) {
        if (room > sizeof local_) {
            heap_.reset(new char[room]);
            return buffer_ = heap_.get();
        }
        return buffer_ = local_;
    }

    std::array<std::optional<std::string_view>, N> values_;
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
        Fields<7> f(items, kDatabaseItems);
        if (!f.Has(0) || !f.Has(1)) return 0;
        f.Write();
        printed = std::fprintf(output, "%s,%s,%s,%s,,%s,%s,%s,%s,%s,%s,%s\n", "", f[0], f[1], "",
                               eventType, eventTime, f[2], f[3], f[4], f[5], f[6]);
    } else if (std::strcmp(eventType, "Domino.HTTP") == 0) {
        Fields<6> f(items, kHttpItems);
        if (!f.Has(0) || !f.Has(1)) return 0;
        f.Write();
        printed = std::fprintf(output, "%s,%s,%s,%s,%s,%s,%s,%s,%s,,\n", "", f[0], f[1], f[2], f[3],
                               eventType, eventTime, f[4], f[5]);
    } else if (std::strcmp(eventType, "Domino.AGENT") == 0) {
        Fields<4> f(items, kAgentItems);
        if (!f.Has(2) || !f.Has(1)) return 0;
        f.Write();
        printed = std::fprintf(output, "%s,%s,%s,%s,%s,%s,%s,,,,\n", "", f[0], f[1], f[2], f[3],
                               eventType, eventTime);
    }
    return printed < 0 ? notes::kStatusIoError : notes::NotesStatus{0};
}

}  // namespace logscan
