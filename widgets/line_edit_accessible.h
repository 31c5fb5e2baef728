// What a screen reader is told about a single-line text field.
//
// Qt 6.4.2's own interface for QLineEdit never returns when asked for the word or the sentence
// at the end of the text, or for the word at the start of a text that begins with a blank
// (QAccessibleTextInterface::textAtOffset steps a QTextBoundaryFinder off the text and keeps
// waiting for a boundary that never comes). Orca asks exactly that whenever the caret moves by
// words, and the program then spins for ever. Qt also answers some queries before the first
// word or sentence with a start of -1 and an end of 0. This interface answers the boundary
// queries itself and otherwise reads the field through QLineEdit's public functions, leaving
// names, relations, focus and geometry to QAccessibleWidget. It stands in for Qt's on every Qt
// version: the release that mends the loop could not be told from Qt's sources at hand, and the
// answers here are right on any release.
#pragma once

namespace pelmora {

// Makes every QLineEdit with normal echo created from now on use the interface above. Safe to
// call more than once; call it before the line edits are made.
void installLineEditAccessible();

} // namespace pelmora
