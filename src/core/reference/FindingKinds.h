// The kinds of finding the strict check reports about another maker's pattern file. Their text
// names are a public contract: scripts read them from `quvtool check --strict --json`, so a name
// is written here once and never changed.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace quv {

enum class TFindingKind {
    TiltSign,
    AzimuthOrigin,
    Steps,
    MissingAngle,
    DuplicateAngle,
    AngleOrder,
    PeakNotZero,
    Seam,
    Beamwidth,
    FrontToBack,
    MissingName,
    NotANumber,
    FieldOrDb,
    SteeredBeam, // informational: a beam steered off boresight by design
};

inline constexpr std::array<std::pair<TFindingKind, std::string_view>, 14> kFindingKindNames{{
    {TFindingKind::TiltSign, "tilt-sign"},
    {TFindingKind::AzimuthOrigin, "azimuth-origin"},
    {TFindingKind::Steps, "steps"},
    {TFindingKind::MissingAngle, "missing-angle"},
    {TFindingKind::DuplicateAngle, "duplicate-angle"},
    {TFindingKind::AngleOrder, "angle-order"},
    {TFindingKind::PeakNotZero, "peak-not-zero"},
    {TFindingKind::Seam, "seam"},
    {TFindingKind::Beamwidth, "beamwidth"},
    {TFindingKind::FrontToBack, "front-to-back"},
    {TFindingKind::MissingName, "missing-name"},
    {TFindingKind::NotANumber, "not-a-number"},
    {TFindingKind::FieldOrDb, "field-or-db"},
    {TFindingKind::SteeredBeam, "steered-beam"},
}};

// A note that describes the file without finding fault with it: it never fails a check.
constexpr bool IsInformational(TFindingKind kind)
{
    return kind == TFindingKind::SteeredBeam;
}

constexpr std::string_view FindingKindName(TFindingKind kind)
{
    for (const auto& [k, name] : kFindingKindNames)
        if (k == kind)
            return name;
    return {};
}

// The kind of a text name; empty for a name that is not one.
constexpr std::optional<TFindingKind> FindingKindFromName(std::string_view name)
{
    for (const auto& [k, text] : kFindingKindNames)
        if (text == name)
            return k;
    return std::nullopt;
}

} // namespace quv
