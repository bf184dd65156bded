#pragma once

#include <string>
#include <string_view>

namespace korval {

// Check characters of the symbologies. All functions take texts that were
// checked to hold only the characters named.

// True when the text is made of the digits 0..9 only (an empty text is).
bool AllDigits(std::string_view text);

// The GS1 modulo-10 check digit of EAN-13, EAN-8, UPC-A, ITF-14 and every
// other GS1 key: weight 3 on the rightmost digit, then 1, 3, ... towards the
// left; check = (10 - sum mod 10) mod 10. Digits only.
int Gs1CheckDigit(std::string_view digits);

// The eleven-digit UPC-A number (number system 0, without its check digit)
// that the six digits of a zero-suppressed UPC-E symbol stand for.
std::string ExpandUpcE(std::string_view sixDigits);

// The check digit of a UPC-E symbol of number system 0. Scanners verify it on
// the expanded UPC-A number, so that is where it is computed.
int UpcECheckDigit(std::string_view sixDigits);

// Code 11: the value of a character ("0".."9" are 0..9, "-" is 10) and back.
int Code11Value(char c);
char Code11Char(int value);

// The Code 11 check characters C and K, in that order, for data of digits and
// "-": C weighs the data 1..10 from the right (repeating), K weighs the data
// followed by C 1..9 from the right (repeating); each is the sum modulo 11.
std::string Code11CheckChars(std::string_view data);

}  // namespace korval
