#pragma once
// Bank account numbers: a Hungarian one (16 or 24 digits in blocks of 8, each block group with its
// check digit), an IBAN of any country (ISO 13616, mod-97 check digits), or neither. Typed with or
// without hyphens and blanks; what the rent payout sends to the bank is the IBAN.

#include <QString>

namespace account {

enum class Kind
{
    Empty,     // nothing but blanks and hyphens
    Hungarian, // 16 or 24 digits, both check digits right
    Iban,      // a valid IBAN (a Hungarian IBAN also passes the Hungarian check of its number)
    Invalid,   // anything else
};

struct Number
{
    Kind kind = Kind::Empty;
    // Hungarian: "12345678-12345678" or "12345678-12345678-12345678"; IBAN: in groups of four
    // ("HU42 1177 3016 …"); otherwise the text as typed, trimmed.
    QString display;
    // The IBAN the bank gets (a Hungarian number's "HU…" form), compact; empty unless valid.
    QString iban;

    bool valid() const { return kind == Kind::Hungarian || kind == Kind::Iban; }
};

Number parse(const QString &typed);

// Digits 1–7 against the 8th, and digits 9 up to the one before the last against the last, each
// weighted 9, 7, 3, 1 over and over: the weighted sum of a group with its check digit ends in 0.
bool hungarianValid(const QString &digits);
// "HU", the mod-97 check digits, and the 24 digits (a 16-digit number padded with eight zeros).
QString hungarianIban(const QString &digits);
// Country code, check digits, the country's length, and the remainder 1 of the number mod 97.
bool ibanValid(const QString &compact);

// The warning about a number that is neither empty nor valid, for the clerk who stores it anyway.
QString warning(const QString &typed);

} // namespace account
