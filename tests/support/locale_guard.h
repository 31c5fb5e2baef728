// Switches the C library's LC_NUMERIC, or the user's locale as the environment gives it, for the
// lifetime of an object and restores it after.
#pragma once

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

namespace pelmora::test {

// The C library's names of the locales that the separator tests use.
#ifdef _WIN32
inline constexpr const char *bulgarian = "Bulgarian_Bulgaria";
inline constexpr const char *english = "English_United States";
#else
inline constexpr const char *bulgarian = "bg_BG.UTF-8";
inline constexpr const char *english = "en_US.UTF-8";
#endif

class NumericLocale
{
public:
    // Keeps the current LC_NUMERIC, for code under test that changes it.
    NumericLocale() : m_previous(std::setlocale(LC_NUMERIC, nullptr)), m_active(true) {}
    explicit NumericLocale(const char *name) : NumericLocale()
    {
        m_active = std::setlocale(LC_NUMERIC, name) != nullptr;
    }
    ~NumericLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
    NumericLocale(const NumericLocale &) = delete;
    NumericLocale &operator=(const NumericLocale &) = delete;

    bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active;
};

#ifndef _WIN32
// Sets LC_ALL in the environment, which on Unix is where the user's locale comes from.
class UserLocale
{
public:
    explicit UserLocale(const char *name)
    {
        if (const char *previous = std::getenv("LC_ALL"))
            m_previous = previous;
        setenv("LC_ALL", name, 1);
    }
    ~UserLocale()
    {
        if (m_previous)
            setenv("LC_ALL", m_previous->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }
    UserLocale(const UserLocale &) = delete;
    UserLocale &operator=(const UserLocale &) = delete;

private:
    std::optional<std::string> m_previous;
};
#endif

} // namespace pelmora::test
