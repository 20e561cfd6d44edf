#include "tests/sweep/ModeRules.h"

#include <cstdio>
#include <sstream>

#include "tests/sweep/OutputChecks.h"

namespace sweep {
namespace {

using FileCheck = std::function<std::string(const RunOutcome& clean, const RunOutcome& faulted)>;
using Files = std::map<std::string, std::string>;

std::string Describe(const Files& files) {
    std::ostringstream text;
    text << "{";
    for (const auto& [name, content] : files)
        text << " " << name << " (" << content.size() << " bytes)";
    text << " }";
    return text.str();
}

std::string ErrorLine(const std::string& message) { return "#ERROR# - " + message; }

// The output folder holds exactly `files` besides the run log.
FileCheck Exactly(const Files& files) {
    return [files](const RunOutcome&, const RunOutcome& faulted) {
        return faulted.files == files
                   ? ""
                   : "files " + Describe(faulted.files) + ", expected " + Describe(files);
    };
}

// The output folder holds the clean run's `names`, unchanged, and nothing else.
FileCheck CleanFiles(const std::vector<std::string>& names) {
    return [names](const RunOutcome& clean, const RunOutcome& faulted) {
        Files expected;
        for (const std::string& name : names) expected[name] = clean.files.at(name);
        return Exactly(expected)(clean, faulted);
    };
}

// The clean run's files, of which only `name` may differ, as `check` accepts.
FileCheck Changed(const std::string& name,
                  std::function<std::string(const std::string&, const std::string&)> check) {
    return [name, check](const RunOutcome& clean, const RunOutcome& faulted) -> std::string {
        Files others = faulted.files;
        Files cleanOthers = clean.files;
        if (!others.contains(name)) return name + " is missing; files " + Describe(faulted.files);
        const std::string problem = check(clean.files.at(name), others.at(name));
        if (!problem.empty()) return name + ": " + problem;
        others.erase(name);
        cleanOthers.erase(name);
        return others == cleanOthers ? "" : "other files " + Describe(others);
    };
}

// Exactly one of the clean run's files lost exactly one line holding `marker` (or, with
// `optional`, nothing changed).
FileCheck OneLineLost(const std::string& marker, bool optional = false) {
    return [marker, optional](const RunOutcome& clean, const RunOutcome& faulted) -> std::string {
        if (optional && faulted.files == clean.files) return "";
        for (const auto& [name, content] : clean.files) {
            if (!faulted.files.contains(name) || faulted.files.at(name) == content) continue;
            return Changed(name, [&](const std::string& before, const std::string& after) {
                return OneLineRemoved(before, after, marker);
            })(clean, faulted);
        }
        return "no file changed; files " + Describe(faulted.files);
    };
}

// The mode reports the failure with `format` and leaves the files that `files` accepts.
FailureRule Fails(const std::string& format, FileCheck files) {
    return [format, files](unsigned, const RunOutcome&, const InjectedStatus& injected) {
        return Expectation{{NotesErrorLine(format, injected)}, files};
    };
}

// The operation's status is not examined: no run-log line, and the files that `files` accepts.
FailureRule NotExamined(FileCheck files) {
    return [files](unsigned, const RunOutcome&, const InjectedStatus&) {
        return Expectation{{}, files};
    };
}

// The session's start and the ID switch, the same in every mode; the network path, which the
// library always builds (a path too long is the program's own refusal, before the call).
void AddSessionRules(ModeRules& rules, const Files& filesLeft) {
    rules.operations["InitializeNotes"] = [filesLeft](unsigned, const RunOutcome&,
                                                      const InjectedStatus& injected) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", injected.status);
        return Expectation{{ErrorLine(std::string("Notes initialization failed (") + hex + ")")},
                           Exactly(filesLeft)};
    };
    rules.operations["SwitchToIdFile"] = Fails("Unable to switch id (%s)", Exactly(filesLeft));
    rules.operations["BuildNetworkPath"] = std::nullopt;
}

std::size_t DocumentCount(const std::string& dxl) {
    std::size_t count = 0;
    for (std::size_t at = dxl.find("<document "); at != std::string::npos;
         at = dxl.find("<document ", at + 1)) {
        ++count;
    }
    return count;
}

constexpr const char* kCatalogFailure = "Unable to read catalog (%s)";

}  // namespace

ModeRules ServerCatalogRules() {
    ModeRules rules{{"-catalog", "-s", "Hub01/Acme"}, {}};
    AddSessionRules(rules, {});
    for (const char* operation :
         {"OpenDatabase", "CompileFormula", "CreateIdTable", "SearchDatabase",
          "InsertIdIntoTable", "CreateDxlExporter", "CreateHookRecursionId", "RegisterNoteOpenHook",
          "ExportIdTableAsDxl", "GetDatabasePath"}) {
        rules.operations[operation] = Fails(kCatalogFailure, Exactly({}));
    }
    // A note the exporter cannot open: the hook is called with the failure and a note handle
    // that was never set, which it must leave alone (the report shows no misuse).
    rules.operations["OpenNote"] = Fails(kCatalogFailure, Exactly({}));
    // Not examined: that one note is exported without its ReplicaIdText item.
    rules.operations["SetTextItem"] = NotExamined(OneLineLost("name='ReplicaIdText'"));
    return rules;
}

ModeRules FullCatalogRules() {
    ModeRules rules{{"-brenvik", "-p", "acme-catalog.nsf"}, {}};
    AddSessionRules(rules, {});
    for (const char* operation : {"OpenDatabase", "CreateDxlExporter",
                                  "CreateHookRecursionId", "RegisterNoteOpenHook"}) {
        rules.operations[operation] = Fails(kCatalogFailure, Exactly({}));
    }
    // The second call of these belongs to the anonymity map, after catalog.dxl is in place.
    for (const char* operation :
         {"CompileFormula", "CreateIdTable", "SearchDatabase", "ExportIdTableAsDxl"}) {
        rules.operations[operation] = [](unsigned call, const RunOutcome& clean,
                                         const InjectedStatus& injected) {
            return Fails(kCatalogFailure, call == 1 ? Exactly({}) : CleanFiles({"catalog.dxl"}))(
                call, clean, injected);
        };
    }
    // One insert, and one open by the exporter, per selected note: first the catalog's, then
    // the anonymity map's.
    for (const char* operation : {"InsertIdIntoTable", "OpenNote"}) {
        rules.operations[operation] = [](unsigned call, const RunOutcome& clean,
                                         const InjectedStatus& injected) {
            const bool catalogWritten = call > DocumentCount(clean.files.at("catalog.dxl"));
            return Fails(kCatalogFailure,
                         catalogWritten ? CleanFiles({"catalog.dxl"}) : Exactly({}))(
                call, clean, injected);
        };
    }
    // Not examined: that one note, in either file, is exported without its ReplicaIdText item.
    rules.operations["SetTextItem"] = NotExamined(OneLineLost("name='ReplicaIdText'"));
    return rules;
}

ModeRules ActivityLogRules(const std::vector<std::string>& options) {
    ModeRules rules{{"-logscan"}, {}};
    rules.arguments.insert(rules.arguments.end(), options.begin(), options.end());
    const Files emptyRows{{"logscan.txt", ""}};
    AddSessionRules(rules, emptyRows);
    rules.operations["OpenActivityStream"] =
        Fails("Error accessing activity stream (%s)", Exactly(emptyRows));
    rules.operations["ScanActivityStream"] =
        Fails("Error scanning activity stream (%s)", Exactly(emptyRows));
    // A scan that fails part-way keeps the complete rows of the records before: as a record
    // gives at most one row, at most one per earlier record, and at least all the clean rows
    // but one per record from the failing one on.
    rules.operations["DeliverActivityRecord"] = [](unsigned call, const RunOutcome& clean,
                                                   const InjectedStatus& injected) {
        const unsigned records = (*clean.report)["calls"]["DeliverActivityRecord"].get<unsigned>();
        const auto rowsBefore = [call, records](const std::string& cleanRows,
                                                const std::string& rows) {
            if (const std::string problem = CompleteRowsOf(cleanRows, rows); !problem.empty()) {
                return problem;
            }
            const std::size_t kept = SplitRows(rows).size();
            if (kept > call - 1) return std::string("more rows than records before the failure");
            if (kept + (records - call + 1) < SplitRows(cleanRows).size()) {
                return std::string("rows of records before the failing one are missing");
            }
            return std::string();
        };
        return Fails("Error scanning activity stream (%s)", Changed("logscan.txt", rowsBefore))(
            call, clean, injected);
    };
    // Not examined: that number's field is empty, the row and the scan go on.
    rules.operations["NumberToText"] = NotExamined(Changed("logscan.txt", AtMostOneNumberEmptied));
    return rules;
}

ModeRules DirectoryRules() {
    ModeRules rules{{"-nab"}, {}};
    AddSessionRules(rules, {});
    for (const char* operation : {"OpenDatabase", "FindView", "OpenViewCollection",
                                  "ReadViewEntries"}) {
        rules.operations[operation] = Fails("Unable to read NAB (%s)", Exactly({}));
    }
    // The first entry of a name list that cannot be had: that entry's element is left out.
    rules.operations["GetListEntryText"] = NotExamined(OneLineLost(" name="));
    return rules;
}

ModeRules ServerListRules() {
    ModeRules rules{{"-servers"}, {}};
    const Files emptyList{{"servers.txt", ""}};
    AddSessionRules(rules, emptyList);
    for (const char* operation : {"LookupNames", "ConvertName"}) {
        rules.operations[operation] = Fails("Unable to read servers (%s)", Exactly(emptyList));
    }
    // Not examined: the value reads as empty and is skipped, so that server is missing unless
    // another place names it too.
    rules.operations["GetMatchItemText"] = NotExamined(OneLineLost("", true));
    return rules;
}

}  // namespace sweep
