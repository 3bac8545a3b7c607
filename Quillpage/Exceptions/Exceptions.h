#pragma once
// Failures of external components that the store access throws and catches. None carries a
// message: what() is empty; the type says what failed.
#include <exception>
#include <stdexcept>
#include <string>

namespace Orvane::Exceptions {

// Base of the failures of a component outside the program.
class ExternalError : public std::exception {
public:
    ExternalError() = default;
    ExternalError(const ExternalError&) = default;
    ExternalError& operator=(const ExternalError&) = default;
    ~ExternalError() override = default;

    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;  // always empty
};

// Base of the failures of COM calls.
class ComError : public std::runtime_error {
public:
    ComError() : std::runtime_error(std::string()) {}
    ComError(const ComError&) = default;
    ComError& operator=(const ComError&) = default;
    ~ComError() override = default;
};

// A store object could not be created.
class CreateComObjectError : public ComError {
public:
    CreateComObjectError() = default;
    CreateComObjectError(const CreateComObjectError&) = default;
    CreateComObjectError& operator=(const CreateComObjectError&) = default;
    ~CreateComObjectError() override = default;
};

}
