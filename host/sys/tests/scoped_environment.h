// Test helper: sets or removes an environment variable for one scope and puts the old value back.
#pragma once

#include <stdlib.h>

#include <string>

namespace host::sys::testing {

class ScopedEnvironment {
public:
    // `value` nullptr removes the variable for the scope.
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = ::getenv(name)) {
            old_ = old;
            hadOld_ = true;
        }
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (hadOld_) {
            ::setenv(name_.c_str(), old_.c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};

}  // namespace host::sys::testing
