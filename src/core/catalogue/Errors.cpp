#include "catalogue/Errors.h"

namespace quv {

EConvertError EConvertError::NotAFloat(std::string_view text)
{
    return EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

EListError::EListError(long long index)
    : EQuvError("List index out of bounds (" + std::to_string(index) + ")"), index_(index)
{}

EFOpenError::EFOpenError(std::string_view path) : EQuvError("Cannot open file " + std::string(path))
{}

EFCreateError::EFCreateError(std::string_view path, std::string_view reason)
    : EQuvError("Cannot create file " + std::string(path) +
                (reason.empty() ? std::string() : ": " + std::string(reason)))
{}

} // namespace quv
