// Exact musical time (in quarter notes) and alterations: a reduced quotient of 64-bit integers
// with a positive denominator. Times in a real score stay small; a hostile file can make them
// grow, so arithmetic that would overflow throws ScoreError instead.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plovikxml {

class Fraction {
  public:
    Fraction() = default;
    Fraction(int64_t numerator, int64_t denominator = 1);  // NOLINT: whole numbers convert

    int64_t Numerator() const { return num_; }
    int64_t Denominator() const { return den_; }
    bool IsInteger() const { return den_ == 1; }
    // The nearest integer; halves round away from zero.
    int64_t Round() const;

    Fraction operator+(const Fraction& o) const;
    Fraction operator-(const Fraction& o) const;
    Fraction operator*(const Fraction& o) const;
    Fraction operator/(const Fraction& o) const;
    bool operator==(const Fraction& o) const { return num_ == o.num_ && den_ == o.den_; }
    bool operator!=(const Fraction& o) const { return !(*this == o); }
    bool operator<(const Fraction& o) const;
    bool operator>(const Fraction& o) const { return o < *this; }
    bool operator<=(const Fraction& o) const { return !(o < *this); }
    bool operator>=(const Fraction& o) const { return !(*this < o); }

    // The exact value of a decimal number as MusicXML writes one ("3", "-0.5", "+1.25",
    // surrounding blanks allowed); false for anything else or more than 18 digits.
    static bool ParseDecimal(std::string_view text, Fraction& value);
    // "3", "-1/2".
    std::string ToString() const;

  private:
    static Fraction Make(__int128 numerator, __int128 denominator);

    int64_t num_ = 0;
    int64_t den_ = 1;
};

}  // namespace plovikxml
