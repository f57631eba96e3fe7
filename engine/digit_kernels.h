// Kernels on decimal digit text ('0'..'9' per byte), eight digits per step.
//
// Digits are processed as bytes of a 64-bit word, byte-swapped so that the
// last (least significant) character of each block sits in the lowest byte
// and a binary carry or borrow between bytes is exactly the decimal one:
// adding 0xF6 (= 256 - 10) to each byte makes a byte overflow exactly when
// its digit sum reaches 10; a byte borrows exactly when its digit difference
// is negative. Bytes left at 246..255 afterwards are the ones that did not
// carry (or did borrow) and are brought back into 0..9 by subtracting 246.
#pragma once

#include <cstddef>
#include <string_view>

namespace decimora::engine::kernels {

// True when every character is '0'..'9' (true for the empty text).
bool AllDecimalDigits(std::string_view s);

// w[0..n) := u[0..n) + v[0..n) + carry_in, digit texts of equal length n;
// returns the carry out (0 or 1). w may alias u or v.
int add_digits_n(char* w, const char* u, const char* v, std::size_t n, int carry_in);

// w[0..n) := u[0..n) - v[0..n) - borrow_in; returns the borrow out (0 or 1).
// w may alias u or v.
int sub_digits_n(char* w, const char* u, const char* v, std::size_t n, int borrow_in);

}  // namespace decimora::engine::kernels
