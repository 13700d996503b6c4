#pragma once
// The rent settlement's own arithmetic and its work table: the rebuild of `munk` from the items
// and payments, the balance query, the selection of owners for printing, the owner lines of the
// check lists, the rounding to 5 forint and the split into banknotes and coins. No window here:
// the settlement windows only show and post what these give.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class Query;
class TData;

namespace settlement {

// ---- money ------------------------------------------------------------------------------------

// A balance in whole fillér: the stored money rounded to two decimals, so that the floating-point
// noise of AK × fee (1,13 × 100 = 112,99999…) never decides a rounding.
qint64 toFiller(double forint);

// The amount of a cash payout: the balance rounded to the fillér, then to 5 forint — down when the
// remainder modulo 5 is below 3, up from 3: 1102,99 → 1100, 1103 → 1105, 1107,99 → 1105,
// 1108 → 1110; negative balances stay negative (−500 → −500). FLOOR((ROUND(b, 2) + 2) / 5) × 5.
qint64 roundToFive(double balance);

// The denominations of the payout, largest first.
inline constexpr std::array<int, 12> kDenominations{20000, 10000, 5000, 2000, 1000, 500,
                                                    200,   100,   50,   20,   10,   5};
using Counts = std::array<qint32, 12>; // pieces of each denomination, in the order above

// Adds one owner's amount, split greedily (largest first), to the counts; a negative amount adds
// nothing. The counts sum the owners' splits: two owners with 15 Ft each give two 10s and two 5s.
void split(qint64 amount, Counts &counts);

// The payment register's counters (count20000 … count5 of the module-level values) as counts, and
// back; cimletezo adds one owner's amount to them.
Counts moduleCounts();
void setModuleCounts(const Counts &counts);
void cimletezo(qint64 amount);

// "20000 Ft =   3 db": the count line of one denomination (index into kDenominations).
QString countLine(int index, qint32 count);

// ---- the work table ---------------------------------------------------------------------------

enum class Variant
{
    Full,      // items and payments (group posting, payment register, certificate)
    ItemsOnly, // items only (land-use sheet)
};

// What a rebuild left: ok, or the message of the step that failed (the table is then as before).
struct Rebuild
{
    bool ok = true;
    QString message;
};

// Empties `munk` and fills it again, all steps in one transaction through ZQ111: any failure rolls
// the whole rebuild back (so a half-done table never feeds money out) and names its step.
Rebuild rebuildWorkTable(TData &data, Variant variant);

// The balance line and the balance line with address, as the statements start.
QString balanceLine();
QString balanceLineWithAddress();

// Keeps in `munk` only the owners whose line is ticked; `ticked[i]` belongs to row i of `owners`
// (ZQ110 as it was opened for the check list). All in one transaction. False, with the message of
// the step that failed ("Hiba:  munk UPDATE ! " or "Hiba:  munk DELETE ! "), when it did not work:
// the table is then as before and nothing may be printed from it.
bool markSelectedOwners(TData &data, Query &owners, const std::vector<bool> &ticked, QString *message);

// The check-list line of an owner with address (certificate, land-use sheet), from the current
// row of `q`: code, name padded or cut to 40, "  Lakcim: " postcode, town, street.
QString ownerLineWithAddress(const Query &q);

// The check-list line of group posting, from the current row of the balance query `q`.
QString postingLine(const Query &q);

} // namespace settlement
