#include "engine/basis_value.h"

#include "engine/number_text.h"

namespace joist {
namespace {

BasisValue refused(BasisValueProblem problem)
{
    BasisValue value;
    value.problem = problem;
    return value;
}

} // namespace

std::optional<LimitRange> rangeOf(const BasisField& field)
{
    if (field.cap)
        return capRange;
    return field.number ? rangeOf(field.number) : std::nullopt;
}

BasisValue readBasisValue(const BasisField& field, std::string_view text,
                          std::string_view decimalSeparator)
{
    using enum BasisValueProblem;
    if (field.flag) {
        if (text != "true" && text != "false")
            return refused(notTrueOrFalse);
        BasisValue value;
        value.flag = text == "true";
        return value;
    }
    if (field.choice) {
        BasisValue value;
        for (value.choice = 0; value.choice < field.choice->texts.size(); ++value.choice)
            if (field.choice->texts[value.choice] == text)
                return value;
        return refused(notOffered);
    }
    const NumberReading reading = readNumber(text, decimalSeparator);
    if (reading.problem == NumberProblem::empty)
        return refused(field.cap ? none : empty);
    if (!reading.value)
        return refused(reading.problem == NumberProblem::outOfRange ? beyondPrecision : notANumber);
    const float value = *reading.value;
    const bool zeroAllowed = field.number && allowsZero(field.number);
    const std::optional<LimitRange> range = rangeOf(field);
    // Where 0 is allowed, the range says how far below it is refused.
    if (!(value > 0 || (zeroAllowed && value == 0)))
        return refused(zeroAllowed && range ? outOfRange : notPositive);
    if (range && !range->holds(value))
        return refused(outOfRange);
    BasisValue accepted;
    accepted.number = value == 0 ? 0.0f : value; // never -0
    return accepted;
}

void setBasisValue(DesignBasis& basis, const BasisField& field, const BasisValue& value)
{
    if (field.number)
        basis.*field.number = *value.number;
    else if (field.cap)
        basis.*field.cap = value.number;
    else if (field.flag)
        basis.*field.flag = value.flag;
    else if (field.choice)
        field.choice->set(basis, value.choice);
}

} // namespace joist
