// Comparisons of an output file of a faulted run with the same file of the clean run. Each
// returns an empty text when the file is as expected, else what is wrong with it.
#pragma once

#include <string>
#include <vector>

namespace sweep {

// The rows of logscan.txt, each with its CR LF; a line break inside quotes stays in its row.
// A trailing piece without a row end is returned as a row of its own.
std::vector<std::string> SplitRows(const std::string& content);

// `faulted` is `clean` with one line (CR LF ended) removed, a line that holds `marker`; with
// `optional`, also `clean` itself.
std::string OneLineRemoved(const std::string& clean, const std::string& faulted,
                           const std::string& marker, bool optional = false);

// `faulted` is the first rows of `clean`, complete rows only.
std::string CompleteRowsOf(const std::string& clean, const std::string& faulted);

// `faulted` has the rows of `clean`, in one of which at most one number field is empty.
std::string AtMostOneNumberEmptied(const std::string& clean, const std::string& faulted);

}  // namespace sweep
