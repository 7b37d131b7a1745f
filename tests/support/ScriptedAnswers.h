#pragma once

#include <deque>
#include <optional>

namespace testsupport
{

/** The next scripted answer of a fake dialog; an unscripted one counts as Cancel. */
template <typename T>
std::optional<T> nextScriptedAnswer (std::deque<std::optional<T>>& script)
{
    if (script.empty())
        return std::nullopt;

    auto answer = script.front();
    script.pop_front();
    return answer;
}

} // namespace testsupport
