#include "Exception.h"

#include "Utf8.h"

Exception::Exception(std::wstring message) : message_(std::move(message)), narrow_(WideToUtf8(message_)) {}
