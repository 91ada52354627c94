// The message of the error a call raises.
#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <string>

namespace sw::test {

// The message of the error of class E that `call` raises; fails the test on
// any other outcome.
template <class E> std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected exception: " << e.what();
        return {};
    }
    ADD_FAILURE() << "no error";
    return {};
}

} // namespace sw::test
