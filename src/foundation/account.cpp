#include "foundation/account.h"

#include <QHash>

namespace account {

namespace {

// The length of an IBAN by country (the IBAN registry).
const QHash<QString, int> &ibanLengths()
{
    static const QHash<QString, int> lengths{
        {"AD", 24}, {"AE", 23}, {"AL", 28}, {"AT", 20}, {"AZ", 28}, {"BA", 20}, {"BE", 16}, {"BG", 22},
        {"BH", 22}, {"BI", 27}, {"BR", 29}, {"BY", 28}, {"CH", 21}, {"CR", 22}, {"CY", 28}, {"CZ", 24},
        {"DE", 22}, {"DJ", 27}, {"DK", 18}, {"DO", 28}, {"EE", 20}, {"EG", 29}, {"ES", 24}, {"FI", 18},
        {"FK", 18}, {"FO", 18}, {"FR", 27}, {"GB", 22}, {"GE", 22}, {"GI", 23}, {"GL", 18}, {"GR", 27},
        {"GT", 28}, {"HR", 21}, {"HU", 28}, {"IE", 22}, {"IL", 23}, {"IQ", 23}, {"IS", 26}, {"IT", 27},
        {"JO", 30}, {"KW", 30}, {"KZ", 20}, {"LB", 28}, {"LC", 32}, {"LI", 21}, {"LT", 20}, {"LU", 20},
        {"LV", 21}, {"LY", 25}, {"MC", 27}, {"MD", 24}, {"ME", 22}, {"MK", 19}, {"MN", 20}, {"MR", 27},
        {"MT", 31}, {"MU", 30}, {"NI", 28}, {"NL", 18}, {"NO", 15}, {"OM", 23}, {"PK", 24}, {"PL", 28},
        {"PS", 29}, {"PT", 25}, {"QA", 29}, {"RO", 24}, {"RS", 22}, {"RU", 33}, {"SA", 24}, {"SC", 31},
        {"SD", 18}, {"SE", 24}, {"SI", 19}, {"SK", 24}, {"SM", 27}, {"SO", 23}, {"ST", 25}, {"SV", 28},
        {"TL", 23}, {"TN", 24}, {"TR", 26}, {"UA", 29}, {"VA", 22}, {"VG", 24}, {"XK", 20},
    };
    return lengths;
}

bool allDigits(const QString &s)
{
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !s.isEmpty();
}

// The weighted sum of a group with its check digit, weights 9, 7, 3, 1 from the group's start.
bool groupValid(QStringView digits)
{
    static const int weights[] = {9, 7, 3, 1};
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += (digits[i].unicode() - '0') * weights[i % 4];
    return sum % 10 == 0;
}

// The remainder mod 97 of an IBAN rearranged (its first four characters moved to the end, letters
// as 10 … 35), taken digit by digit.
int mod97(const QString &compact)
{
    const QString moved = compact.mid(4) + compact.left(4);
    int rest = 0;
    for (QChar c : moved) {
        const int v = c.isDigit() ? c.unicode() - '0' : c.unicode() - 'A' + 10;
        rest = v >= 10 ? (rest * 100 + v) % 97 : (rest * 10 + v) % 97;
    }
    return rest;
}

QString grouped(const QString &s, int size, const QString &separator)
{
    QStringList parts;
    for (qsizetype i = 0; i < s.size(); i += size)
        parts << s.mid(i, size);
    return parts.join(separator);
}

} // namespace

bool hungarianValid(const QString &digits)
{
    if ((digits.size() != 16 && digits.size() != 24) || !allDigits(digits))
        return false;
    return groupValid(QStringView(digits).left(8)) && groupValid(QStringView(digits).mid(8));
}

QString hungarianIban(const QString &digits)
{
    const QString bban = digits.size() == 16 ? digits + QStringLiteral("00000000") : digits;
    const int check = 98 - mod97(QStringLiteral("HU00") + bban);
    return QStringLiteral("HU%1%2").arg(check, 2, 10, QLatin1Char('0')).arg(bban);
}

bool ibanValid(const QString &compact)
{
    if (compact.size() < 5)
        return false;
    const int length = ibanLengths().value(compact.left(2), 0);
    if (length == 0 || compact.size() != length)
        return false;
    if (!compact[2].isDigit() || !compact[3].isDigit())
        return false;
    for (QChar c : compact)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
            return false;
    if (mod97(compact) != 1)
        return false;
    // A Hungarian IBAN carries a Hungarian number, with its own check digits.
    return !compact.startsWith(QLatin1String("HU")) || hungarianValid(compact.mid(4));
}

QString warning(const QString &typed)
{
    return QStringLiteral(
               "A számlaszám nem helyes: %1\n\nMagyar számlaszám 16 vagy 24 számjegy (8-8 vagy 8-8-8 "
               "csoportban, ellenőrző számjegyekkel), külföldi számla IBAN formában. A program a "
               "beírt szöveget tárolja, de erre a számlára nem készül átutalás, amíg nem javítják.")
        .arg(typed.trimmed());
}

Number parse(const QString &typed)
{
    Number n;
    const QString trimmed = typed.trimmed();
    QString compact;
    for (QChar c : trimmed)
        if (c != QLatin1Char(' ') && c != QLatin1Char('-') && c != QChar(0xa0))
            compact += c.toUpper();
    if (compact.isEmpty())
        return n;
    if (allDigits(compact) && hungarianValid(compact)) {
        n.kind = Kind::Hungarian;
        n.display = grouped(compact, 8, QStringLiteral("-"));
        n.iban = hungarianIban(compact);
        return n;
    }
    if (ibanValid(compact)) {
        n.kind = Kind::Iban;
        n.display = grouped(compact, 4, QStringLiteral(" "));
        n.iban = compact;
        return n;
    }
    n.kind = Kind::Invalid;
    n.display = trimmed;
    return n;
}

} // namespace account
