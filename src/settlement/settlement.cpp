#include "settlement/settlement.h"

#include "foundation/formats.h"
#include "foundation/globals.h"
#include "foundation/query.h"
#include "foundation/tdata.h"

#include <cmath>
#include <memory>

namespace settlement {

qint64 toFiller(double forint)
{
    return std::llround(forint * 100.0);
}

qint64 roundToFive(double balance)
{
    // In fillér, with integers: floor((fillér + 200) / 500) × 5 forint, floor also below zero.
    const qint64 shifted = toFiller(balance) + 200;
    qint64 fives = shifted / 500;
    if (shifted % 500 != 0 && shifted < 0)
        --fives;
    return fives * 5;
}

void split(qint64 amount, Counts &counts)
{
    if (amount < 0)
        return;
    for (size_t i = 0; i < kDenominations.size(); ++i) {
        const qint64 pieces = amount / kDenominations[i];
        if (pieces > 0)
            counts[i] += qint32(pieces);
        amount %= kDenominations[i];
    }
}

void cimletezo(qint64 amount)
{
    Counts counts = moduleCounts();
    split(amount, counts);
    setModuleCounts(counts);
}

Counts moduleCounts()
{
    const ModuleValues &m = mv();
    return {m.count20000, m.count10000, m.count5000, m.count2000, m.count1000, m.count500,
            m.count200,   m.count100,   m.count50,   m.count20,   m.count10,   m.count5};
}

void setModuleCounts(const Counts &c)
{
    ModuleValues &m = mv();
    qint32 *fields[] = {&m.count20000, &m.count10000, &m.count5000, &m.count2000, &m.count1000, &m.count500,
                        &m.count200,   &m.count100,   &m.count50,   &m.count20,   &m.count10,   &m.count5};
    for (size_t i = 0; i < c.size(); ++i)
        *fields[i] = c[i];
}

QString countLine(int index, qint32 count)
{
    // The label texts right-align the values to five characters.
    return QStringLiteral("%1 Ft =   %2 db").arg(kDenominations[size_t(index)], 5).arg(count);
}

namespace {

// The rebuild's steps, each with the message the window shows when it fails.
struct Step
{
    QStringList lines;
    QString failure; // empty: the standard error text ("SQL Error: ...")
};

const QStringList &itemRows()
{
    static const QStringList lines{
        QStringLiteral("INSERT INTO munk (xaKod, xaHkod, xaTkod, xaMkod, xaAK, xaHA, "),
        QStringLiteral("                  xhKod, xhSzam, xhNkod, xhTol, xhIg,        "),
        QStringLiteral("                  xmKod, xmMuvag, xmMino, xmDij,             "),
        QStringLiteral("                  xnKod, xnNev, xnSzido, xnAnyja, xnIrszam, xnHely, xnUtca, "
                       "xnAdoazon )           "),
        QStringLiteral("       SELECT aKod, aHkod, aTkod, aMkod, aAK, aHA,"),
        QStringLiteral("              hKod, hSzam, hNkod, hTol, hIg,      "),
        QStringLiteral("              mKod, mMuvag, mMino, mDij,          "),
        QStringLiteral("              nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nAdoazon "),
        QStringLiteral("       FROM alresz   "),
        QStringLiteral("       JOIN haszn ON haszn.hKod = alresz.aHkod   "),
        QStringLiteral("       JOIN muvag ON muvag.mKod = alresz.aMkod   "),
        QStringLiteral("       JOIN tulaj ON tulaj.nKod = haszn.hNkod    ")};
    return lines;
}

const QStringList &paymentRows()
{
    static const QStringList lines{
        QStringLiteral(
            "INSERT INTO munk (xkKod, xkNkod, xkMegnev, xkMenny, xkMe, xkEar, xkFt, xkDatum,           "),
        QStringLiteral(
            "                  xnKod,  xnNev,  xnSzido, xnAnyja, xnIrszam, xnHely, xnUtca, xnAdoazon ) "),
        QStringLiteral(
            "       SELECT      kKod,  kNkod,  kMegnev,  kMenny,  kMe,  kEar,  kFt,  kDatum,           "),
        QStringLiteral(
            "                   nKod,   nNev,  nSzido,   nAnyja,  nIrszam,  nHely,  nUtca,  nAdoazon   "),
        QStringLiteral("       FROM kifiz   "),
        QStringLiteral("       JOIN tulaj ON tulaj.nKod = kifiz.kNkod    ")};
    return lines;
}

void exec(Query &q, const QStringList &lines)
{
    q.setSql(lines);
    q.execSql();
}

} // namespace

Rebuild rebuildWorkTable(TData &data, Variant variant)
{
    Query &q = *data.ZQ111;
    std::vector<Step> steps{
        {{QStringLiteral("DELETE FROM munk      ")}, QStringLiteral("Hiba: egyenleg DELETE törlésekor")},
        {itemRows(), QStringLiteral("Hiba: alresz INSERT-append a munk-ba ")}};
    if (variant == Variant::Full) {
        steps.push_back({paymentRows(), QStringLiteral("Hiba: kifiz, INSERT-append a munk-ba ")});
        // An owner without payments has paid 0, not NULL.
        steps.push_back({{QStringLiteral("UPDATE munk        "), QStringLiteral("   SET xkFt = 0        "),
                          QStringLiteral("   WHERE  xkFt IS NULL ")},
                         QString()});
    }
    try {
        exec(q, {QStringLiteral("START TRANSACTION")});
    } catch (const std::exception &e) {
        return {false, QString::fromUtf8(e.what())};
    }
    for (const Step &step : steps) {
        try {
            exec(q, step.lines);
        } catch (const std::exception &e) {
            Rebuild failed{false, step.failure.isEmpty() ? QString::fromUtf8(e.what()) : step.failure};
            try {
                exec(q, {QStringLiteral("ROLLBACK")});
            } catch (const std::exception &) {
                // The connection itself failed; the server rolls back what it cannot finish.
            }
            return failed;
        }
    }
    try {
        exec(q, {QStringLiteral("COMMIT")});
    } catch (const std::exception &e) {
        return {false, QString::fromUtf8(e.what())};
    }
    return {};
}

QString balanceLine()
{
    return QStringLiteral(
        "SELECT xNKod, xnNev, SUM(xaAK) AS sum_AK, SUM(xaAK * xmDij) AS sum_Dij, SUM(xkFt) AS "
        "sum_kifiz , ROUND(SUM(xaAK * xmDij) - SUM(xkFt),2) AS sum_fizetni ");
}

QString balanceLineWithAddress()
{
    return QStringLiteral(
        "SELECT xNKod, xnNev, SUM(xaAK) AS sum_AK, SUM(xaAK * xmDij) AS sum_Dij, SUM(xkFt) AS "
        "sum_kifiz , ROUND(SUM(xaAK * xmDij) - SUM(xkFt),2) AS sum_fizetni, xnSzido, xnAnyja, "
        "xnIrszam, xnHely, xnUtca, xnAdoazon ");
}

bool markSelectedOwners(TData &data, Query &owners, const std::vector<bool> &ticked, QString *message)
{
    Query &q = *data.ZQ111;
    QStringList codes;
    owners.first();
    for (size_t line = 0; !owners.eof() && line < ticked.size(); ++line, owners.next())
        if (ticked[line])
            codes << owners.fieldText(QStringLiteral("xnKod"));
    owners.first();

    const QString updateFailed = QStringLiteral("Hiba:  munk UPDATE ! ");
    const QString deleteFailed = QStringLiteral("Hiba:  munk DELETE ! ");
    QString failure = updateFailed;
    try {
        exec(q, {QStringLiteral("START TRANSACTION")});
        // The ticked owners are marked a few hundred at a time: thousands of owners, one statement
        // each, would keep the clerk waiting for nothing.
        constexpr int kChunk = 500;
        for (int from = 0; from < codes.size(); from += kChunk) {
            const QStringList chunk = codes.mid(from, kChunk);
            QStringList params;
            for (int i = 0; i < chunk.size(); ++i)
                params << QStringLiteral(":c%1").arg(i);
            q.setSql({QStringLiteral("UPDATE munk          "), QStringLiteral(" SET   xjel    = \"x\" "),
                      QStringLiteral(" WHERE xnKod   IN (%1) ").arg(params.join(QStringLiteral(", ")))});
            for (int i = 0; i < chunk.size(); ++i)
                q.setText(QStringLiteral("c%1").arg(i), chunk[i]);
            q.execSql();
        }
        failure = deleteFailed;
        exec(q,
             {QStringLiteral("DELETE FROM munk         "), QStringLiteral("       WHERE xjel <> \"x\"  ")});
        exec(q, {QStringLiteral("COMMIT")});
    } catch (const std::exception &) {
        try {
            exec(q, {QStringLiteral("ROLLBACK")});
        } catch (const std::exception &) {
        }
        if (message)
            *message = failure;
        return false;
    }
    return true;
}

void OwnerRows::index(Query &q, const QString &ownerField)
{
    query = &q;
    ranges.clear();
    QString previous;
    int start = 0;
    for (int r = 0; r <= q.rowCount(); ++r) {
        QString owner;
        if (r < q.rowCount()) {
            q.setRowIndex(r);
            owner = q.fieldText(ownerField);
            if (r > 0 && owner == previous)
                continue;
        }
        if (r > 0)
            ranges.insert(previous, {start, r - start});
        previous = owner;
        start = r;
    }
}

void OwnerRows::show(const QString &owner) const
{
    const auto it = ranges.constFind(owner);
    if (it == ranges.constEnd())
        query->setWindow(0, 0);
    else
        query->setWindow(it->first, it->second);
}

namespace {

// Reads a statement into `q` and indexes it by owner.
void readAll(Query &q, OwnerRows &rows, const QStringList &lines, const QString &ownerField)
{
    q.setSql(lines);
    q.open();
    rows.index(q, ownerField);
}

struct CertificateRows
{
    OwnerRows items, totals, payments, paid;
};

struct LandUseRows
{
    OwnerRows parcels, items, totals;
};

} // namespace

void prepareCertificatePrint(TData &d)
{
    d.ZQ110->setSql({QStringLiteral("SELECT * "), QStringLiteral("  FROM munk         "),
                     QStringLiteral("  GROUP BY xNKod   "), QStringLiteral("  ORDER BY xnNev, xNKod   ")});
    d.ZQ110->open();
    // Each owner's rows are what the owner's own statements give: the items with a positive gold-
    // crown value (with their parcel and town), the totals, the payments above zero and their sum.
    auto rows = std::make_shared<CertificateRows>();
    readAll(*d.ZQ111, rows->items,
            {QStringLiteral("SELECT *, xaAK * xmDij AS Dij1, ROUND(xaAK * xmDij - xkFt,2) AS fizetni1 "),
             QStringLiteral("  FROM munk         "),
             QStringLiteral("  JOIN tabla ON tabla.tKod = munk.xaTkod         "),
             QStringLiteral("  JOIN varos ON varos.vKod = tabla.tVkod         "),
             QStringLiteral("  WHERE xaAK > 0 "),
             QStringLiteral("  ORDER BY xNKod, xhSzam, vHelyseg, tHrsz ")},
            QStringLiteral("xNKod"));
    readAll(*d.ZQ112, rows->totals,
            {QStringLiteral("SELECT xNKod, xnNev, SUM(xaAK) AS sum_AK1, SUM(xaAK * xmDij) AS sum_Dij1 "),
             QStringLiteral("    FROM munk              "), QStringLiteral("    GROUP BY xNKod "),
             QStringLiteral("    ORDER BY xNKod ")},
            QStringLiteral("xNKod"));
    readAll(*d.ZQ113, rows->payments,
            {QStringLiteral("SELECT * "), QStringLiteral("  FROM munk         "),
             QStringLiteral("  WHERE xkFt > 0  "), QStringLiteral("  ORDER BY xNKod, xkDatum, xkKod ")},
            QStringLiteral("xNKod"));
    readAll(*d.ZQ114, rows->paid,
            {QStringLiteral("SELECT xNKod, SUM(xkFt) AS sum_xkFt"),
             QStringLiteral("    FROM munk              "), QStringLiteral("  WHERE xkFt > 0  "),
             QStringLiteral("    GROUP BY xNKod "), QStringLiteral("    ORDER BY xNKod ")},
            QStringLiteral("xNKod"));
    auto showOwner = [rows] {
        const QString owner = Data().ZQ110->fieldText(QStringLiteral("xnKod"));
        rows->items.show(owner);
        rows->totals.show(owner);
        rows->payments.show(owner);
        rows->paid.show(owner);
    };
    d.ZQ110->first();
    showOwner();
    d.frDBDataSet1Next = [showOwner] {
        TData &data = Data();
        // Every owner's certificate starts on a page of its own.
        if (!data.ZQ110->eof())
            data.frNyomtat.newPage();
        showOwner();
    };
    d.frDBDataSet2Close = [rows] { rows->totals.show(Data().ZQ110->fieldText(QStringLiteral("xnKod"))); };
}

void prepareLandUsePrint(TData &d)
{
    d.ZQ110->setSql({QStringLiteral("SELECT *          "), QStringLiteral("  FROM munk       "),
                     QStringLiteral("  JOIN tulaj ON tulaj.nKod = munk.xNkod "),
                     QStringLiteral("  GROUP BY nKod  ")});
    d.ZQ110->open();
    auto rows = std::make_shared<LandUseRows>();
    readAll(*d.ZQ111, rows->parcels,
            {QStringLiteral("SELECT *     "), QStringLiteral("  FROM munk  "),
             QStringLiteral("  JOIN haszn ON haszn.hKod = munk.xaHkod "),
             QStringLiteral("  JOIN alresz ON alresz.aKod = munk.xaKod "),
             QStringLiteral("  JOIN tabla ON tabla.tKod = munk.xaTkod "),
             QStringLiteral("  JOIN fekves ON fekves.fKod = tabla.tFkod "),
             QStringLiteral("  JOIN tforma ON tforma.uKod = tabla.tUkod "),
             QStringLiteral("  JOIN varos ON varos.vKod = tabla.tVkod "),
             QStringLiteral("  JOIN tulaj ON tulaj.nKod = munk.xhNkod "),
             QStringLiteral("  GROUP BY xNKod, xaTkod  "), QStringLiteral("  ORDER BY xNKod, xaTkod  ")},
            QStringLiteral("xNKod"));
    // Every item of the owner's contracts (not only those of the owner's first parcel), from the
    // base tables, by branch name.
    readAll(*d.ZQ23, rows->items,
            {QStringLiteral("SELECT *     "), QStringLiteral("  FROM alresz  "),
             QStringLiteral("  JOIN haszn ON haszn.hKod = alresz.aHkod "),
             QStringLiteral("  JOIN tabla ON tabla.tKod = alresz.aTkod "),
             QStringLiteral("  JOIN muvag ON muvag.mKod = alresz.aMkod "),
             QStringLiteral("  WHERE  hNkod IN (SELECT xnKod FROM munk)  "),
             QStringLiteral("  ORDER BY hNkod, mMuvag     ")},
            QStringLiteral("hNkod"));
    readAll(*d.ZQ112, rows->totals,
            {QStringLiteral("SELECT hNKod, SUM(aAK) AS sum_AK, SUM(aHA) AS sum_HA "),
             QStringLiteral("    FROM alresz              "),
             QStringLiteral("    JOIN haszn ON haszn.hKod = alresz.aHkod "),
             QStringLiteral("    WHERE hNkod IN (SELECT xnKod FROM munk)  "),
             QStringLiteral("    GROUP BY hNkod     "), QStringLiteral("    ORDER BY hNkod     ")},
            QStringLiteral("hNKod"));
    auto showOwner = [rows] {
        TData &data = Data();
        const QString owner = data.ZQ110->fieldText(QStringLiteral("nKod"));
        rows->parcels.show(owner);
        rows->items.show(owner);
        rows->totals.show(owner);
        // Each sheet's totals are its own owner's (null gives 0).
        data.variables.set(QStringLiteral("v_mAK"), data.ZQ112->fieldNumber(QStringLiteral("sum_AK")));
        data.variables.set(QStringLiteral("v_mHA"), data.ZQ112->fieldNumber(QStringLiteral("sum_HA")));
    };
    d.ZQ110->first();
    showOwner();
    d.frDBDataSet12Next = [showOwner] {
        TData &data = Data();
        if (data.ZQ110->eof())
            return;
        data.frNyomtat.newPage();
        showOwner();
    };
    d.frDBDataSet13Open = [] { Data().ZQ23->first(); };
    // The parcels are walked by the certificate's item dataset here: no certificate callback on it.
    d.frDBDataSet2Close = nullptr;
}

namespace {
QString padOrCut(const QString &text, int width)
{
    return (text + QString(width, QLatin1Char(' '))).left(width);
}
} // namespace

QString ownerLineWithAddress(const Query &q)
{
    auto text = [&](const char *field) { return q.fieldText(QString::fromLatin1(field)); };
    return text("xNkod").left(10) + QStringLiteral("  ") +
           (text("xnNev") + QString(38, QLatin1Char(' '))).left(40) + QStringLiteral("  ") +
           (QStringLiteral("  Lakcim: ") + text("xnIrszam") + QStringLiteral("  ") + text("xnHely") +
            QStringLiteral("  ") + text("xnUtca"))
               .left(100);
}

QString postingLine(const Query &q)
{
    auto text = [&](const char *field) { return q.fieldText(QString::fromLatin1(field)); };
    const double due = q.fieldNumber(QStringLiteral("sum_fizetni")); // null reads as 0
    return text("xNkod").left(10) + QStringLiteral("  ") + padOrCut(text("xnNev"), 20) +
           QStringLiteral("  ") + (QStringLiteral("  Fizetendö = ") + formats::formatGeneral(due)).left(45) +
           QStringLiteral(" Ft ") + (QStringLiteral("  Bérletidij = ") + text("sum_Dij")).left(45) +
           QStringLiteral(" Ft ") + (QStringLiteral("  Kifizetve = ") + text("sum_kifiz")).left(45) +
           QStringLiteral(" Ft ") + (QStringLiteral("  ") + text("sum_AK") + QStringLiteral(" AK ")).left(45);
}

} // namespace settlement
