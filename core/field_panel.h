// The state that the conversions work on: the form's five text fields, its two direction
// buttons and its one variable. It is plain data; the window owns one and keeps the controls on
// the screen in step with it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pelmora {

struct TextField
{
    std::string text; // UTF-8
    bool enabled = true;

    bool operator==(const TextField &) const = default;
};

// Field roles by index: 0 decimal number, 1 binary number, 2 shift, 3 binary Gray,
// 4 decimal Gray. Exactly one of the two options is true: Option1[0] chooses decimal to Gray,
// Option1[1] Gray to decimal.
struct FieldPanel
{
    std::array<TextField, 5> Text2;
    std::array<bool, 2> Option1{true, false};
    std::int32_t CurrentNumber = 0;

    bool operator==(const FieldPanel &) const = default;
};

} // namespace pelmora
