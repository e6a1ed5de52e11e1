#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace testsupport {

// Sets the environment variable `name` to `value`, or removes it when `value` is null
// (platform_posix.cpp).
void setEnvironment(const char* name, const char* value);

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setEnvironment(name, value);
    }
    ScopedEnvironment(const char* name, const std::string& value)
        : ScopedEnvironment(name, value.c_str()) {}
    ~ScopedEnvironment() { setEnvironment(name_, old_ ? old_->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace testsupport
