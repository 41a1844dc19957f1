// What is wrong with another maker's pattern file, as findings a script can act on: each has a
// kind from the fixed list of FindingKinds.h and a message for people.
#pragma once

#include "reference/PatternReaders.h"

#include <string>
#include <vector>

namespace quv {

struct TPatternFinding {
    TFindingKind kind;
    std::string message;
};

// The findings of one file that was read; a file of several patterns names the pattern in each
// message.
std::vector<TPatternFinding> CheckPatternData(const TPatternFileData& data);

// The check of one file on disk: its format and first antenna when it could be read, the reader's
// message when not (a value that is not a number is also a `not-a-number` finding).
struct TPatternFileCheck {
    std::string fileName;
    std::string format;  // empty when the file could not be read
    std::string antenna; // the first pattern's name
    std::string error;
    std::vector<TPatternFinding> findings;
    std::vector<TPatternFinding> notes; // informational: they never fail the check
};
TPatternFileCheck CheckPatternFile(const std::string& path);

// One line of JSON for a check: {"name":...,"format":...,"antenna":...,"error":...,"findings":[
// {"kind":...,"message":...}]}, then "notes":[...] of the same shape when there are any. Bytes
// beyond ASCII are taken as Windows-1252.
std::string PatternCheckJson(const TPatternFileCheck& check);

} // namespace quv
