// The two conversions of the program and the binary rendering they share. Each works only on
// the field panel (fields and CurrentNumber) and raises OverflowError before it writes any field
// when the number does not fit a 32-bit integer.
#pragma once

#include "core/field_panel.h"
#include "core/numbers.h"

namespace pelmora {

// The binary digits of CurrentNumber, most significant first, with no leading zeros, as a
// string value; the empty string when CurrentNumber is not positive. CurrentNumber itself is
// not changed, so callers set it first.
Value BinaryDigits(const FieldPanel &panel);

// Reads the decimal number in Text2[decimalField] and writes its binary form, the binary form
// shifted right by one place, the Gray code in binary and the Gray code in decimal into the four
// other fields. A negative number is converted as its magnitude; a magnitude that rounds below 1
// writes nothing.
void DecimalToGray(FieldPanel &panel);

// Reads a Gray code (the decimal value of its bit pattern) from Text2[decimalGrayField] and
// writes the decoded number, its binary form, a fixed remark and the Gray code in binary into the
// four other fields.
// The input stays a real until an operation needs an integer; a magnitude below 1 writes
// nothing.
void GrayToDecimal(FieldPanel &panel);

// What GrayToDecimal writes into the shift field.
inline constexpr const char *shiftRemark = "Променя се в цикъл";

} // namespace pelmora
