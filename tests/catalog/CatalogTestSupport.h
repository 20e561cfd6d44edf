// Helpers of the catalog tests: reading DXL files and running the exporter on a copy of the
// sample environment.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestSupport.h"

namespace catalogtest {

struct DxlDocument {
    std::string noteId;
    std::vector<std::pair<std::string, std::string>> items;  // name, text of the value element

    const std::string* Item(const std::string& name) const;
};

// The documents of a DXL file; a file that is not well-formed XML fails the test.
std::vector<DxlDocument> ReadDxl(const std::filesystem::path& file);
std::vector<std::string> NoteIds(const std::vector<DxlDocument>& documents);

// True when every line feed is preceded by a carriage return and no carriage return stands alone.
bool HasCrLfLineEnds(const std::string& content);

// examples/acme copied into a scratch folder, with a notes.ini of its own that adds
// `extraIniLines` and a SimReport, and an empty output folder.
class AcmeRun {
public:
    explicit AcmeRun(const std::string& extraIniLines = "");

    // Runs the exporter with the test notes.ini, `arguments` and "-o <output folder>".
    testsupport::ProcessResult Run(const std::vector<std::string>& arguments,
                                   const testsupport::ProcessOptions& options = {}) const;

    std::filesystem::path Environment() const { return scratch_ / "env"; }
    std::filesystem::path Output() const { return scratch_ / "out"; }
    std::filesystem::path Ini() const { return Environment() / "test.ini"; }
    std::filesystem::path Report() const { return scratch_ / "report.json"; }

    // The run-log lines; none when there is no log.
    std::vector<std::string> Log() const;

    // Fails the test unless the runtime's report shows no open handle and no misuse.
    void ExpectEverythingReleased() const;

private:
    testsupport::ScratchDir scratch_;
};

// Replaces the catalog of Hub01 with `notes` "Notefile" documents that describe Hub01, each with
// a title of 200 characters: a DXL file of about 700 bytes per note.
void WriteBigCatalog(const AcmeRun& run, int notes);

}  // namespace catalogtest
