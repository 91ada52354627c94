// The message of the exception an action raises; the test fails unless the
// action raises an E.
#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <string>

namespace sw::test {

template <class E, class Action> std::string ErrorOf(Action&& action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected exception: " << e.what();
        return {};
    }
    ADD_FAILURE() << "no exception";
    return {};
}

} // namespace sw::test
