#include "Fraction.h"

#include <cctype>

#include "ScoreError.h"

namespace plovikxml {

namespace {

__int128 Gcd(__int128 a, __int128 b) {
    if (a < 0) a = -a;
    if (b < 0) b = -b;
    while (b != 0) {
        const __int128 t = a % b;
        a = b;
        b = t;
    }
    return a;
}

}  // namespace

Fraction::Fraction(int64_t numerator, int64_t denominator) {
    *this = Make(numerator, denominator);
}

Fraction Fraction::Make(__int128 numerator, __int128 denominator) {
    if (denominator == 0) throw ScoreError("a time or value divided by zero");
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const __int128 g = Gcd(numerator, denominator);
    if (g > 1) {
        numerator /= g;
        denominator /= g;
    }
    if (numerator > INT64_MAX || numerator < -INT64_MAX || denominator > INT64_MAX)
        throw ScoreError("a time or value too fine or too large to count exactly");
    Fraction f;
    f.num_ = static_cast<int64_t>(numerator);
    f.den_ = static_cast<int64_t>(denominator);
    return f;
}

int64_t Fraction::Round() const {
    const int64_t whole = num_ / den_;
    const int64_t rest = num_ % den_;  // same sign as num_
    if (2 * static_cast<__int128>(rest < 0 ? -rest : rest) >= den_)
        return whole + (num_ < 0 ? -1 : 1);
    return whole;
}

Fraction Fraction::operator+(const Fraction& o) const {
    return Make(static_cast<__int128>(num_) * o.den_ + static_cast<__int128>(o.num_) * den_,
                static_cast<__int128>(den_) * o.den_);
}

Fraction Fraction::operator-(const Fraction& o) const {
    return Make(static_cast<__int128>(num_) * o.den_ - static_cast<__int128>(o.num_) * den_,
                static_cast<__int128>(den_) * o.den_);
}

Fraction Fraction::operator*(const Fraction& o) const {
    return Make(static_cast<__int128>(num_) * o.num_, static_cast<__int128>(den_) * o.den_);
}

Fraction Fraction::operator/(const Fraction& o) const {
    return Make(static_cast<__int128>(num_) * o.den_, static_cast<__int128>(den_) * o.num_);
}

bool Fraction::operator<(const Fraction& o) const {
    return static_cast<__int128>(num_) * o.den_ < static_cast<__int128>(o.num_) * den_;
}

bool Fraction::ParseDecimal(std::string_view text, Fraction& value) {
    size_t i = 0, end = text.size();
    while (i < end && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t digits = 0, scale = 1;
    int count = 0;
    bool point = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(c)) || ++count > 18) return false;
        digits = digits * 10 + (c - '0');
        if (point) scale *= 10;
    }
    if (count == 0) return false;
    value = Make(negative ? -digits : digits, scale);
    return true;
}

std::string Fraction::ToString() const {
    return den_ == 1 ? std::to_string(num_) : std::to_string(num_) + "/" + std::to_string(den_);
}

}  // namespace plovikxml
