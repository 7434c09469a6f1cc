#pragma once

#include <exception>

// A feedback handler could not be built (its FFT analyser could not be created).
class HandlerException : public std::exception {
public:
    const char* what() const noexcept override { return "feedback handler cannot be created"; }
};
