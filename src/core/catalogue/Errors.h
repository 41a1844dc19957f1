// The error types that loaders, converters and writers throw; the command that started the work
// catches them. Callers tell kinds apart by type, never by parsing the message.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quv {

class EQuvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "'%s' is not a valid floating point value"
class EConvertError : public EQuvError {
public:
    explicit EConvertError(const std::string& message) : EQuvError(message) {}
    static EConvertError NotAFloat(std::string_view text);
};

// "List index out of bounds (%d)"
class EListError : public EQuvError {
public:
    explicit EListError(long long index);
    long long Index() const { return index_; }

private:
    long long index_;
};

// The list-index error of a data file whose points section is too short; it also knows how many
// lines the section had, so a report can say which cut is short.
class EShortPointsError : public EListError {
public:
    EShortPointsError(long long index, long long pointLines)
        : EListError(index), pointLines_(pointLines)
    {}
    long long PointLines() const { return pointLines_; }

private:
    long long pointLines_;
};

// "Cannot open file %s"
class EFOpenError : public EQuvError {
public:
    explicit EFOpenError(std::string_view path);
};

// "Cannot create file %s"
class EFCreateError : public EQuvError {
public:
    // The system's reason ("Read-only file system", "No space left on device") follows the
    // message when known.
    explicit EFCreateError(std::string_view path, std::string_view reason = {});
};

// A read or write that failed after the file was opened (disk full, vanished folder...).
class EInOutError : public EQuvError {
public:
    using EQuvError::EQuvError;
};

} // namespace quv
