#pragma once

// An extra load on the joist beside the floor's own, as design files,
// schedules and the Loads window hold it: a point load on this joist, a wall
// across the joists, a line load along this joist or a floor load over part
// of the span, each with a permanent and an imposed part, described once as
// a kind of record.

#include <array>
#include <string_view>

#include "engine/record_kind.h"
#include "engine/translatable_text.h"

namespace joist {

enum class LoadKind { point, wall, line, area };

struct ExtraLoad
{
    LoadKind kind = LoadKind::point;
    float gk = 0;   // permanent part, in the kind's unit
    float qk = 0;   // imposed part, in the kind's unit
    float at = 0;   // m from the left support, for a point load or a wall
    float from = 0; // m from the left support, for a line or floor load
    float to = 0;   // m

    friend bool operator==(const ExtraLoad&, const ExtraLoad&) = default;
};

namespace extra_load {
inline constexpr std::array<std::string_view, 4> kindTexts{"point", "wall", "line", "area"};
inline constexpr std::array<std::string_view, 4> kindCaptions{
    JOIST_TR_NOOP("Load", "Point load on this joist"),
    JOIST_TR_NOOP("Load", "Wall across the joists"),
    JOIST_TR_NOOP("Load", "Line load along this joist"),
    JOIST_TR_NOOP("Load", "Floor load over part of the span"),
};
// A wall's load is per metre of wall, a floor load per square metre; on
// this joist they are taken as spacing / 1000 of it.
inline constexpr std::array<std::string_view, 4> amountUnits{
    JOIST_TR_NOOP("Load", "kN"), JOIST_TR_NOOP("Load", "kN/m"), JOIST_TR_NOOP("Load", "kN/m"),
    JOIST_TR_NOOP("Load", "kN/m\u00B2")};
inline constexpr RecordChoice<ExtraLoad> kindChoice =
    recordChoiceOf<&ExtraLoad::kind, kindTexts, kindCaptions>();

inline constexpr ColumnRange amount{0, 1000};
inline constexpr ColumnRange alongTheSpan{0, 0, true};
inline constexpr std::uint32_t atAPoint = kindsOf({LoadKind::point, LoadKind::wall});
inline constexpr std::uint32_t overAStretch = kindsOf({LoadKind::line, LoadKind::area});

inline constexpr RecordColumn<ExtraLoad> columns[] = {
    {.key = "kind", .caption = JOIST_TR_NOOP("Load", "Kind"), .choice = &kindChoice},
    {.key = "gk",
     .caption = JOIST_TR_NOOP("Load", "Permanent gk"),
     .unitOfKind = amountUnits,
     .number = &ExtraLoad::gk,
     .range = amount},
    {.key = "qk",
     .caption = JOIST_TR_NOOP("Load", "Imposed qk"),
     .unitOfKind = amountUnits,
     .number = &ExtraLoad::qk,
     .range = amount},
    {.key = "at",
     .caption = JOIST_TR_NOOP("Load", "At"),
     .unit = JOIST_TR_NOOP("Load", "m"),
     .number = &ExtraLoad::at,
     .range = alongTheSpan,
     .appliesTo = atAPoint},
    {.key = "from",
     .caption = JOIST_TR_NOOP("Load", "From"),
     .unit = JOIST_TR_NOOP("Load", "m"),
     .number = &ExtraLoad::from,
     .range = alongTheSpan,
     .appliesTo = overAStretch},
    {.key = "to",
     .caption = JOIST_TR_NOOP("Load", "To"),
     .unit = JOIST_TR_NOOP("Load", "m"),
     .number = &ExtraLoad::to,
     .range = alongTheSpan,
     .appliesTo = overAStretch},
};

inline constexpr RecordRule rules[] = {
    {RecordRuleKind::notBothZero, "gk", "qk"},
    {RecordRuleKind::lessThan, "from", "to"},
};
} // namespace extra_load

inline constexpr RecordKind<ExtraLoad> extraLoadKind{"load", "loads", 20, extra_load::columns,
                                                     extra_load::rules};
// GCC keeps null-pointer checks under -fsanitize=undefined and then cannot
// compare an object's address with null in a constant expression: that build
// checks the table in the record kinds' test instead.
#ifndef __SANITIZE_ADDRESS__
static_assert(isWellFormed(extraLoadKind), "extra_load::columns: a column or rule is malformed");
#endif

} // namespace joist
