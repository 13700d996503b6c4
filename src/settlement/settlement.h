#pragma once
// The rent settlement's own arithmetic and its work table: the rebuild of `munk` from the items
// and payments, the balance query, the selection of owners for printing, the owner lines of the
// check lists, the rounding to 5 forint and the split into banknotes and coins. No window here:
// the settlement windows only show and post what these give.

#include <QHash>
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

// ---- the prints of the ticked owners ------------------------------------------------------------

// Rows of one result that several owners share, read once for all of them ordered by owner, and
// each owner's own rows shown through the query's window: a print of thousands of owners sends a
// few statements instead of four per owner, and every sheet still shows exactly its owner's rows.
class OwnerRows
{
public:
    // Indexes the open query `q` by the text of `ownerField` (rows of an owner must stand together).
    void index(Query &q, const QString &ownerField);
    // Shows the owner's rows (none when the owner has no row); the first becomes current.
    void show(const QString &owner) const;

private:
    Query *query = nullptr;
    QHash<QString, std::pair<int, int>> ranges; // owner -> first row, count
};

// After markSelectedOwners: the owners in ZQ110, every owner's detail rows in ZQ111 (items), ZQ112
// (gold-crown and rent totals), ZQ113 (payments) and ZQ114 (their total), the first owner's shown,
// and the callbacks that start each next owner's certificate on a page of its own with its rows.
void prepareCertificatePrint(TData &data);

// After markSelectedOwners (items-only work table): the owners with their tulaj rows in ZQ110, every
// owner's parcels in ZQ111, items in ZQ23 and totals in ZQ112, "v_mAK"/"v_mHA" of the owner whose
// sheet is being laid out, and the callbacks that start each next owner on a page of its own.
void prepareLandUsePrint(TData &data);

// The check-list line of an owner with address (certificate, land-use sheet), from the current
// row of `q`: code, name padded or cut to 40, "  Lakcim: " postcode, town, street.
QString ownerLineWithAddress(const Query &q);

// The check-list line of group posting, from the current row of the balance query `q`.
QString postingLine(const Query &q);

} // namespace settlement
