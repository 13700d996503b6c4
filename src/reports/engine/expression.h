#pragma once
// Text expressions of templates. A text such as "Adószám: [ZTable8.BAdoszam]" is split once, when
// the template is loaded, into literal and expression pieces; printing joins the pieces in one
// left-to-right pass, so a value that itself looks like "[x]" is printed as it is.

#include <QString>
#include <QVariant>
#include <vector>

namespace report {

// How a value is turned into text.
struct ValueFormat
{
    enum class Kind
    {
        Default, // numbers "general" (decimal comma), dates yyyy.MM.dd, text as it is
        Grouped, // fixed decimals with the thousands separator: N2
        Fixed,   // fixed decimals without the thousands separator: F2
        General, // up to 15 significant digits: G
        Pattern  // a date/time pattern: yyyy. MMMM d., HH:mm
    };
    Kind kind = Kind::Default;
    int decimals = 0;
    QString pattern;
};

struct Piece
{
    enum class Kind
    {
        Literal,
        Field,      // [Component.field]
        Variable,   // [name]
        Page,       // [PAGE#]
        TotalPages, // [TOTALPAGES#]
        Line,       // [LINE#]: row number within the band's dataset
        Date,       // [DATE]: date of the build
        Time        // [TIME]: time of the build
    };
    Kind kind = Kind::Literal;
    QString text;      // literal text; for Field the field name, for Variable the name, as written
    QString component; // Field: the component name as written
    QString key;       // Variable: the folded name; Field: the folded component name
    int slot = -1;     // Field: index into the template's component table
    ValueFormat format;
};

struct Expression
{
    std::vector<Piece> pieces;
    bool hasPageRefs = false; // holds [PAGE#] or [TOTALPAGES#]: finished when the page is known
    bool isLiteral() const
    {
        return pieces.empty() || (pieces.size() == 1 && pieces[0].kind == Piece::Kind::Literal);
    }
};

// Thrown by parseExpression with the offset (0-based, into the text) of the fault.
struct ExpressionError
{
    QString what;
    int offset;
};

// Splits a template text into pieces. "[[" and "]]" stand for literal brackets.
Expression parseExpression(const QString &text);

// Parses the part after "|" in "[name|format]"; throws ExpressionError (offset 0) when unknown.
ValueFormat parseFormat(const QString &spec);

// The text of a value: NULL gives an empty text; numbers without a format the general format with
// the decimal comma; dates yyyy.MM.dd.
QString formatValue(const QVariant &value, const ValueFormat &format);

} // namespace report
