// The state that the conversions work on: the texts and enabled flags of the form's five number
// fields, which of its two direction buttons is chosen, and its one variable. It is plain data;
// the window owns one and keeps the controls on the screen in step with it. The conversions read
// and write the texts and CurrentNumber only: they never read the direction buttons, which the
// window's Calculate handler reads to choose the conversion.
//
// The design's names. The window's controls keep the names of the program's stored design: a
// kind word and a number, and controls of one kind form an array addressed by an index from 0.
// They are PascalCase, unlike the rest of the code, so that each reads as the design names it.
//   Text2       the five number fields, by role (the indices below)
//   Option1     the direction: 0 decimal to Gray, 1 Gray to decimal
//   Command1    the buttons: 0 Calculate ("Изчисли"), 1 Clear ("Изчисти")
//   Label1      the captions: 0 the title, 1 to 5 the captions of Text2 0 to 4
//   Text1       the read-only texts: 0 the explanation, 1 the quotation (hidden)
//   Frame1      the frame around the two direction buttons
//   Picture1    the picture of the encoder disc
//   CurrentNumber  the number BinaryDigits renders: after DecimalToGray it holds the Gray code,
//                  after GrayToDecimal the rounded Gray input
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pelmora {

// Text2's fields by role.
inline constexpr int decimalField = 0;     // the decimal number; the input from decimal to Gray
inline constexpr int binaryField = 1;      // its binary digits
inline constexpr int shiftField = 2;       // those digits shifted right by one, or a remark
inline constexpr int binaryGrayField = 3;  // the Gray code's binary digits
inline constexpr int decimalGrayField = 4; // the Gray code in decimal; the input from Gray
inline constexpr int fieldCount = 5;

// Option1's directions.
inline constexpr int decimalToGrayOption = 0;
inline constexpr int grayToDecimalOption = 1;
inline constexpr int optionCount = 2;

// Command1's buttons.
inline constexpr int calculateCommand = 0;
inline constexpr int clearCommand = 1;
inline constexpr int commandCount = 2;

struct TextField
{
    std::string text; // UTF-8
    bool enabled = true;

    bool operator==(const TextField &) const = default;
};

// Exactly one of the two options is true.
struct FieldPanel
{
    std::array<TextField, fieldCount> Text2;
    std::array<bool, optionCount> Option1{true, false};
    std::int32_t CurrentNumber = 0;

    bool operator==(const FieldPanel &) const = default;
};

} // namespace pelmora
