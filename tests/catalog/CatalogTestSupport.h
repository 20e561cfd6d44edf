// Helpers of the catalog tests: reading and checking DXL files, a large catalog for the sample.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/AcmeRun.h"

namespace catalogtest {

struct DxlDocument {
    std::string noteId;
    std::vector<std::pair<std::string, std::string>> items;  // name, text of the value element

    const std::string* Item(const std::string& name) const;
};

// The documents of a DXL file; a file that is not well-formed XML fails the test.
std::vector<DxlDocument> ReadDxl(const std::filesystem::path& file);
std::vector<std::string> NoteIds(const std::vector<DxlDocument>& documents);

// Fails the test unless `file` has CR LF line ends and holds the documents `ids` in that order,
// each with a ReplicaId carrying it as 16 uppercase hex digits in ReplicaIdText.
void ExpectCatalogFile(const std::filesystem::path& file, const std::vector<std::string>& ids);

// True when every line feed is preceded by a carriage return and no carriage return stands alone.
bool HasCrLfLineEnds(const std::string& content);

// Replaces the catalog of Hub01 with `notes` "Notefile" documents that describe Hub01, each with
// a title of 200 characters: a DXL file of about 700 bytes per note.
void WriteBigCatalog(const testsupport::AcmeRun& run, int notes);

}  // namespace catalogtest
