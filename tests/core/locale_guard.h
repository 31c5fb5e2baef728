// Switches the C library's LC_NUMERIC for the lifetime of the object and restores it after.
#pragma once

#include <clocale>
#include <string>

namespace pelmora::test {

class NumericLocale
{
public:
    explicit NumericLocale(const char *name)
        : m_previous(std::setlocale(LC_NUMERIC, nullptr)),
          m_active(std::setlocale(LC_NUMERIC, name) != nullptr)
    {}
    ~NumericLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
    NumericLocale(const NumericLocale &) = delete;
    NumericLocale &operator=(const NumericLocale &) = delete;

    bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active;
};

} // namespace pelmora::test
