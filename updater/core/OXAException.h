#pragma once

#include <exception>

namespace Oxa {

// The base of every exception the updater throws for configuration and
// device errors. It carries a constant message, so copying it never fails.
class OXAException : public std::exception
{
public:
    explicit OXAException(const char *message) noexcept : m_message(message) {}
    const char *what() const noexcept override { return m_message; }
    const char *message() const noexcept { return m_message; }

private:
    const char *m_message;
};

} // namespace Oxa
