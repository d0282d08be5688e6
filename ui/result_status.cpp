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

std::string outOfDate(std::string_view reason)
{
    return "Results out of date: " + std::string(reason);
}

std::string ResultStatus::message() const
{
    if (!inputs_.empty())
        return outOfDate(inputs_.begin()->second);
    if (material_)
        return outOfDate(*material_);
    if (calculation_)
        return outOfDate(*calculation_);
    if (showsHint())
        return hint_;
    std::string message;
    for (const std::string* part : {&loadProblem_, &resultNote_, &notice_, &settings_}) {
        if (!part->empty())
            message += (message.empty() ? "" : " ") + *part;
    }
    return message;
}

} // namespace ui
