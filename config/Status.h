#pragma once

#include <string>
#include <utility>

namespace ornis {

// Outcome of an operation that can fail with a message for the user (UTF-8). The
// application shows the message in its one error box.
class [[nodiscard]] Status
{
public:
    static Status success() { return Status(); }
    static Status failure(std::string message) { return Status(std::move(message)); }

    [[nodiscard]] bool ok() const { return !failed_; }
    [[nodiscard]] const std::string &message() const { return message_; }

private:
    Status() = default;
    explicit Status(std::string message)
        : failed_(true)
        , message_(std::move(message))
    {
    }

    bool failed_ = false;
    std::string message_;
};

} // namespace ornis
