#pragma once

#include <stdexcept>

namespace builder {

// A reason to refuse the input; its text is shown to whoever runs the build.
class BuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace builder
