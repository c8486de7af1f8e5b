// The base of the installer's own failures: a message text for the user's box.
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);

    const std::wstring& Message() const noexcept { return message_; }
    // The same text in UTF-8, for tools and test output.
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    std::wstring message_;
    std::string narrow_;
};
