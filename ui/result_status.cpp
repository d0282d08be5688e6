#include "ui/result_status.h"

namespace ui {

void ResultStatus::setInputProblem(joist::Input input, std::string message)
{
    inputs_[input] = std::move(message);
}

void ResultStatus::clearInputProblem(joist::Input input)
{
    inputs_.erase(input);
}

std::string ResultStatus::message() const
{
    if (!inputs_.empty())
        return inputs_.begin()->second;
    if (material_)
        return *material_;
    if (calculation_)
        return *calculation_;
    return notice_;
}

} // namespace ui
