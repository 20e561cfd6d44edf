#include "notessim/DatabaseParser.h"

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "notessim/TextCopy.h"
#include "notessim/TimeText.h"

namespace notessim {
namespace {

using Json = nlohmann::json;

std::optional<std::string> HexToBytes(const std::string& hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        for (std::size_t k = i; k < i + 2; ++k) {
            const char c = hex[k];
            const int digit = c >= '0' && c <= '9' ? c - '0'
                            : c >= 'a' && c <= 'f' ? c - 'a' + 10
                            : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

// Receives the parse events of one database file. Each frame of `stack_` is the JSON container
// being read; `skipDepth_` counts the containers of a value that is ignored.
class Builder : public nlohmann::json_sax<Json> {
public:
    explicit Builder(SimDatabase& database) : db_(database) {}

    std::string error;

    bool null() override { return Scalar(Value{}); }
    bool boolean(bool flag) override {
        Value value;
        value.kind = Kind::boolean;
        value.whole = flag ? 1 : 0;
        return Scalar(value);
    }
    bool number_integer(number_integer_t v) override { return Scalar(Value{Kind::number, static_cast<double>(v)}); }
    bool number_unsigned(number_unsigned_t v) override {
        Value value{Kind::unsignedNumber, static_cast<double>(v)};
        value.whole = v;
        return Scalar(value);
    }
    bool number_float(number_float_t v, const string_t&) override { return Scalar(Value{Kind::number, v}); }
    bool string(string_t& v) override {
        Value value{Kind::text, 0};
        value.text = &v;
        return Scalar(value);
    }
    bool binary(binary_t&) override { return Fail("unexpected binary value"); }
    bool start_object(std::size_t) override { return Open(Container::object); }
    bool start_array(std::size_t) override { return Open(Container::array); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override {
        key_ = name;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
        return Fail("not valid JSON at byte " + std::to_string(position) + " (" + e.what() + ")");
    }

    // Gives notes without an ID theirs, sorts the notes and checks what views refer to.
    bool Finish();

private:
    enum class Frame { root, notes, note, items, item, textList, valueObject, views, view, category };
    enum class Container { object, array };
    enum class Kind { none, boolean, text, number, unsignedNumber };
    struct Value {
        Kind kind = Kind::none;
        double number = 0;
        std::uint64_t whole = 0;
        const std::string* text = nullptr;
    };

    bool Fail(std::string what) {
        if (error.empty()) error = std::move(what);
        return false;
    }
    bool Scalar(const Value& value);
    bool Open(Container container);
    bool Close();
    bool Push(Frame frame) {
        stack_.push_back(frame);
        return true;
    }
    bool SkipValue(Container container) {
        skipDepth_ = 1;
        (void)container;
        return true;
    }
    bool FinishItemValue();
    bool FinishValueObject();

    SimDatabase& db_;
    std::vector<Frame> stack_;
    std::string key_;
    int skipDepth_ = 0;

    SimNote note_;
    bool noteHasId_ = false;
    std::vector<std::size_t> notesWithoutId_;
    SimItem item_;
    int itemPosition_ = 0;  // 0: name expected, 1: value expected, 2: complete
    std::vector<std::string> listTexts_;
    std::optional<std::string> objectTime_, objectHex_;
    std::optional<std::uint64_t> objectType_;
    SimView view_;
    std::string viewName_;
    std::optional<std::string> category_;
};

bool Builder::Scalar(const Value& value) {
    if (skipDepth_ > 0) return true;
    if (stack_.empty()) return Fail("not a JSON object");
    switch (stack_.back()) {
        case Frame::root:
            if (key_ == "title" && value.kind == Kind::text) {
                db_.title = *value.text;
            } else if (key_ == "replicaId") {
                if (value.kind != Kind::text || !ParseTimeText(*value.text, db_.replicaId)) {
                    return Fail("bad replicaId");
                }
            } else if (key_ == "notes" || key_ == "views" || key_ == "title") {
                return Fail("\"" + key_ + "\" has the wrong form");
            }
            return true;
        case Frame::note:
            if (key_ == "id") {
                if (value.kind != Kind::unsignedNumber || value.whole > 0xFFFFFFFFu) return Fail("bad note id");
                note_.id = static_cast<NOTEID>(value.whole);
                noteHasId_ = true;
            } else if (key_ == "class") {
                if (value.kind != Kind::text) return Fail("bad note class");
                note_.design = *value.text == "design";
            } else if (key_ == "unreadable") {
                if (value.kind != Kind::boolean) return Fail("bad note unreadable");
                note_.unreadable = value.whole != 0;
            } else if (key_ == "items") {
                return Fail("\"items\" is not a list");
            }
            return true;
        case Frame::item:
            if (itemPosition_ == 0) {
                if (value.kind != Kind::text) return Fail("an item name is not text");
                item_.name = Utf8ToLibraryText(*value.text);
                itemPosition_ = 1;
                return true;
            }
            if (itemPosition_ != 1) return Fail("an item is not a [name, value] pair");
            if (value.kind == Kind::text) {
                item_.type = notesapi::TYPE_TEXT;
                item_.value = Utf8ToLibraryText(*value.text);
            } else if (value.kind == Kind::number || value.kind == Kind::unsignedNumber) {
                item_.type = notesapi::TYPE_NUMBER;
                item_.value.assign(reinterpret_cast<const char*>(&value.number), sizeof value.number);
            } else {
                return Fail("unknown value form of item " + LibraryTextToUtf8(item_.name));
            }
            itemPosition_ = 2;
            return true;
        case Frame::textList:
            if (value.kind != Kind::text) return Fail("a text list holds a non-text member");
            listTexts_.push_back(Utf8ToLibraryText(*value.text));
            return true;
        case Frame::valueObject:
            if (key_ == "time" && value.kind == Kind::text) {
                objectTime_ = *value.text;
            } else if (key_ == "hex" && value.kind == Kind::text) {
                objectHex_ = *value.text;
            } else if (key_ == "type" && value.kind == Kind::unsignedNumber && value.whole <= 0xFFFF) {
                objectType_ = value.whole;
            } else {
                return Fail("unknown value form of item " + LibraryTextToUtf8(item_.name));
            }
            return true;
        case Frame::view:
            if (value.kind != Kind::unsignedNumber || value.whole > 0xFFFFFFFFu) {
                return Fail("view " + viewName_ + " holds an entry that is neither note nor category");
            }
            view_.entries.push_back({static_cast<NOTEID>(value.whole), {}});
            return true;
        case Frame::category:
            if (key_ == "category" && value.kind == Kind::text) category_ = Utf8ToLibraryText(*value.text);
            return true;
        case Frame::notes: return Fail("a note is not an object");
        case Frame::items: return Fail("an item is not a [name, value] pair");
        case Frame::views: return Fail("view " + key_ + " is not a list");
    }
    return true;
}

bool Builder::Open(Container container) {
    if (skipDepth_ > 0) {
        ++skipDepth_;
        return true;
    }
    const bool object = container == Container::object;
    if (stack_.empty()) return object ? Push(Frame::root) : Fail("not a JSON object");
    switch (stack_.back()) {
        case Frame::root:
            if (key_ == "notes") return object ? Fail("\"notes\" is not a list") : Push(Frame::notes);
            if (key_ == "views") return object ? Push(Frame::views) : Fail("\"views\" is not an object");
            if (key_ == "title" || key_ == "replicaId") return Fail("\"" + key_ + "\" has the wrong form");
            return SkipValue(container);
        case Frame::notes:
            if (!object) return Fail("a note is not an object");
            note_ = SimNote{};
            noteHasId_ = false;
            key_.clear();
            return Push(Frame::note);
        case Frame::note:
            if (key_ == "items") return object ? Fail("\"items\" is not a list") : Push(Frame::items);
            if (key_ == "id" || key_ == "class" || key_ == "unreadable") {
                return Fail("bad note " + key_);
            }
            return SkipValue(container);
        case Frame::items:
            if (object) return Fail("an item is not a [name, value] pair");
            item_ = SimItem{};
            itemPosition_ = 0;
            return Push(Frame::item);
        case Frame::item:
            if (itemPosition_ != 1) return Fail("an item is not a [name, value] pair");
            if (object) {
                objectTime_.reset();
                objectHex_.reset();
                objectType_.reset();
                key_.clear();
                return Push(Frame::valueObject);
            }
            listTexts_.clear();
            return Push(Frame::textList);
        case Frame::views:
            if (object) return Fail("view " + key_ + " is not a list");
            view_ = SimView{};
            viewName_ = key_;
            return Push(Frame::view);
        case Frame::view:
            if (!object) return Fail("view " + viewName_ + " holds an entry that is neither note nor category");
            category_.reset();
            key_.clear();
            return Push(Frame::category);
        case Frame::textList: return Fail("a text list holds a non-text member");
        case Frame::valueObject:
        case Frame::category: return SkipValue(container);
    }
    return true;
}

bool Builder::Close() {
    if (skipDepth_ > 0) {
        --skipDepth_;
        return true;
    }
    const Frame frame = stack_.back();
    stack_.pop_back();
    switch (frame) {
        case Frame::note:
            if (!noteHasId_) notesWithoutId_.push_back(db_.notes.size());
            db_.notes.push_back(std::move(note_));
            break;
        case Frame::item:
            if (itemPosition_ != 2) return Fail("an item is not a [name, value] pair");
            note_.items.push_back(std::move(item_));
            break;
        case Frame::textList:
            item_.type = notesapi::TYPE_TEXT_LIST;
            item_.value = BuildTextList(listTexts_);
            itemPosition_ = 2;
            break;
        case Frame::valueObject: return FinishValueObject();
        case Frame::view: {
            std::size_t start = 0;
            while (start <= viewName_.size()) {
                const std::size_t bar = std::min(viewName_.find('|', start), viewName_.size());
                view_.aliases.push_back(Utf8ToLibraryText(viewName_.substr(start, bar - start)));
                start = bar + 1;
            }
            db_.views.push_back(std::move(view_));
            break;
        }
        case Frame::category:
            if (!category_) return Fail("view " + viewName_ + " holds an entry that is neither note nor category");
            view_.entries.push_back(
                {notesapi::NOTEID_CATEGORY | static_cast<NOTEID>(view_.entries.size()),
                 std::move(*category_)});
            break;
        default:
            break;
    }
    if (!stack_.empty()) key_.clear();
    return true;
}

bool Builder::FinishValueObject() {
    if (objectTime_ && !objectType_ && !objectHex_) {
        TIMEDATE time{};
        if (!ParseTimeText(*objectTime_, time)) return Fail("bad time " + *objectTime_);
        item_.type = notesapi::TYPE_TIME;
        item_.value.assign(reinterpret_cast<const char*>(&time), sizeof time);
    } else if (objectType_ && objectHex_ && !objectTime_) {
        const auto bytes = HexToBytes(*objectHex_);
        if (!bytes) return Fail("bad hex value of item " + LibraryTextToUtf8(item_.name));
        item_.type = static_cast<std::uint16_t>(*objectType_);
        item_.value = *bytes;
    } else {
        return Fail("unknown value form of item " + LibraryTextToUtf8(item_.name));
    }
    itemPosition_ = 2;
    return true;
}

bool Builder::Finish() {
    NOTEID largest = 0;
    for (std::size_t i = 0; i < db_.notes.size(); ++i) {
        if (std::find(notesWithoutId_.begin(), notesWithoutId_.end(), i) == notesWithoutId_.end()) {
            largest = std::max(largest, db_.notes[i].id);
        }
    }
    for (const std::size_t index : notesWithoutId_) {
        largest = (largest / 4 + 1) * 4;
        db_.notes[index].id = largest;
    }
    std::sort(db_.notes.begin(), db_.notes.end(),
              [](const SimNote& a, const SimNote& b) { return a.id < b.id; });
    for (std::size_t i = 1; i < db_.notes.size(); ++i) {
        if (db_.notes[i].id == db_.notes[i - 1].id) {
            return Fail("note ID " + std::to_string(db_.notes[i].id) + " given twice");
        }
    }
    NOTEID nextViewId = db_.notes.empty() ? 4 : (db_.notes.back().id / 4 + 1) * 4;
    for (SimView& view : db_.views) {
        view.id = nextViewId;
        nextViewId += 4;
        for (const SimViewEntry& entry : view.entries) {
            if ((entry.id & notesapi::NOTEID_CATEGORY) == 0 && db_.FindNote(entry.id) == nullptr) {
                return Fail("view " + LibraryTextToUtf8(view.aliases.front()) + " names missing note " +
                            std::to_string(entry.id));
            }
        }
    }
    return true;
}

}  // namespace

std::shared_ptr<SimDatabase> ParseDatabaseJson(std::string_view content, std::string& error) {
    auto database = std::make_shared<SimDatabase>();
    Builder builder(*database);
    const bool parsed = Json::sax_parse(content.begin(), content.end(), &builder);
    if (!parsed || !builder.Finish()) {
        error = builder.error.empty() ? "not valid JSON" : builder.error;
        return nullptr;
    }
    return database;
}

}  // namespace notessim
