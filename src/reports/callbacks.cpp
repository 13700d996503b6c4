// The data module's report callbacks: the detail queries that keep the item lines and totals in
// step with the master query ZQ13, and the grouping of the owner list by initial.

#include "foundation/globals.h"
#include "foundation/tdata.h"

namespace {

void detailQuery(Query *q, Query *master, const QString &keyField, const QStringList &lines)
{
    q->setSql(lines);
    // The key field is read by name: a master query without it stops the build ("Field '%s' not found").
    if (!master->hasField(keyField))
        throw report::ReportError(QStringLiteral("Field '%1' not found").arg(keyField));
    q->setText(QStringLiteral("p0"), master->fieldText(keyField));
    q->open();
    q->refresh();
}

const QString sumLine = QStringLiteral("SELECT SUM(aAK) AS sum_AK, SUM(aHA) AS sum_HA  ");

} // namespace

void TData::wireReportCallbacks()
{
    auto hook = [](const std::function<void()> &f) {
        return [&f] {
            if (f)
                f();
        };
    };
    frDBDataSet(1)->onNext = hook(frDBDataSet1Next);
    frDBDataSet(2)->onClose = hook(frDBDataSet2Close);
    frDBDataSet(12)->onNext = hook(frDBDataSet12Next);
    frDBDataSet(13)->onOpen = hook(frDBDataSet13Open);
    frDBDataSet(110)->onFirst = hook(frDBDataSet110First);
    frDBDataSet(110)->onNext = hook(frDBDataSet110Next);
    frDBDataSet(5)->onNext = [this] { frDBDataSet5Next(); };
    frDBDataSet(6)->onClose = [this] { frDBDataSet6Close(); };
    MasterDataset->onFirst = [this] { MasterDatasetFirst(); };
    MasterDataset->onNext = [this] { MasterDatasetNext(); };
    MasterDataset->onCheckEOF = [this](bool &eof) { MasterDatasetCheckEOF(eof); };
    DetailDataset->onFirst = [this] { DetailDatasetFirst(); };
    DetailDataset->onNext = [this] { DetailDatasetNext(); };
    DetailDataset->onCheckEOF = [this](bool &eof) { DetailDatasetCheckEOF(eof); };
}

void TData::alreszTeteles()
{
    // The join order puts haszn before tulaj, whose join condition names it.
    detailQuery(ZQ12, ZQ13, QStringLiteral("hKod"),
                {QStringLiteral("SELECT *  "), QStringLiteral("  FROM alresz  "),
                 QStringLiteral("  JOIN muvag  ON muvag.mKod   = aMkod "),
                 QStringLiteral("  JOIN tabla  ON tabla.tKod   = aTkod "),
                 QStringLiteral("  JOIN varos  ON varos.vKod   = tVkod "),
                 QStringLiteral("  JOIN haszn  ON haszn.hKod   = alresz.aHkod "),
                 QStringLiteral("  JOIN tulaj  ON tulaj.nKod   = haszn.hNkod "),
                 QStringLiteral("  WHERE aHkod = :p0 "), QStringLiteral("  ORDER BY vHelyseg, tHrsz ")});
}

void TData::sumAK_aHkod()
{
    detailQuery(ZQ11, ZQ13, QStringLiteral("hKod"),
                {sumLine, QStringLiteral("  FROM alresz  "), QStringLiteral("  WHERE aHkod = :p0 "),
                 QStringLiteral("  GROUP BY aHkod ")});
}

void TData::alreszTetelesNev()
{
    detailQuery(ZQ12, ZQ13, QStringLiteral("nKod"),
                {QStringLiteral("SELECT *  "), QStringLiteral("  FROM alresz  "),
                 QStringLiteral("  JOIN haszn  ON haszn.Hkod   = alresz.aHkod "),
                 QStringLiteral("  JOIN tulaj  ON tulaj.nKod   = haszn.hNkod "),
                 QStringLiteral("  JOIN tabla  ON tabla.tKod   = alresz.aTkod "),
                 QStringLiteral("  JOIN varos  ON varos.vKod   = tabla.tVkod "),
                 QStringLiteral("  JOIN muvag  ON muvag.mKod   = alresz.aMkod "),
                 QStringLiteral("  WHERE nKod = :p0 "), QStringLiteral("  ORDER BY vHelyseg, tHrsz  ")});
}

void TData::sumAK_hNkod()
{
    detailQuery(ZQ11, ZQ13, QStringLiteral("NKod"),
                {sumLine, QStringLiteral("  FROM alresz  "),
                 QStringLiteral("  JOIN haszn  ON haszn.Hkod   = alresz.aHkod "),
                 QStringLiteral("  JOIN tulaj  ON tulaj.nKod   = haszn.hNkod "),
                 QStringLiteral("  WHERE nkod = :p0 "), QStringLiteral("  GROUP BY Nkod ")});
}

void TData::alreszTetelesHrsz()
{
    detailQuery(ZQ12, ZQ13, QStringLiteral("aTKod"),
                {QStringLiteral("SELECT *  "), QStringLiteral("  FROM alresz  "),
                 QStringLiteral("  JOIN haszn  ON haszn.hKod   = alresz.aHkod "),
                 QStringLiteral("  JOIN muvag  ON muvag.mKod   = alresz.aMkod "),
                 QStringLiteral("  JOIN tabla  ON tabla.tKod   = alresz.aTkod "),
                 QStringLiteral("  JOIN varos  ON varos.vKod   = tabla.tVkod "),
                 QStringLiteral("  JOIN tulaj  ON tulaj.nKod   = haszn.hNkod "),
                 QStringLiteral("  WHERE aTkod = :p0 ")});
}

void TData::sumAK_aTkod()
{
    detailQuery(ZQ11, ZQ13, QStringLiteral("aTKod"),
                {sumLine, QStringLiteral("  FROM alresz  "),
                 QStringLiteral("  JOIN tabla  ON tabla.tKod   = aTkod "),
                 QStringLiteral("  WHERE aTkod = :p0 "), QStringLiteral("  GROUP BY aTkod ")});
}

void TData::alreszTetelesVaros()
{
    detailQuery(ZQ12, ZQ13, QStringLiteral("vKod"),
                {QStringLiteral("SELECT *  "), QStringLiteral("  FROM alresz  "),
                 QStringLiteral("  JOIN haszn  ON haszn.hKod   = alresz.aHkod "),
                 QStringLiteral("  JOIN tulaj  ON tulaj.nKod   = haszn.hNkod "),
                 QStringLiteral("  JOIN muvag  ON muvag.mKod   = alresz.aMkod "),
                 QStringLiteral("  JOIN tabla  ON tabla.tKod   = alresz.aTkod "),
                 QStringLiteral("  JOIN varos  ON varos.vKod   = tabla.tVkod "),
                 QStringLiteral("  WHERE vkod = :p0 "), QStringLiteral("  ORDER BY nNev    ")});
}

void TData::sumAK_tVkod()
{
    detailQuery(ZQ11, ZQ13, QStringLiteral("tVKod"),
                {sumLine, QStringLiteral("  FROM alresz  "),
                 QStringLiteral("  JOIN tabla  ON tabla.tKod   = aTkod "),
                 QStringLiteral("  JOIN varos  ON varos.vKod   = tVkod "),
                 QStringLiteral("  WHERE tVkod = :p0 "), QStringLiteral("  GROUP BY tVkod ")});
}

void TData::frDBDataSet5Next()
{
    // Runs also when ZQ13 went past its last row: it then prepares the last row again.
    alreszTeteles();
    sumAK_aHkod();
}

void TData::frDBDataSet6Close()
{
    sumAK_aHkod();
}

namespace {
QChar initialOf(Query *q)
{
    const QString name = q->fieldText(QStringLiteral("nNev"));
    return name.isEmpty() ? QChar() : name.at(0);
}
} // namespace

void TData::MasterDatasetFirst()
{
    ZQ33->first();
    groupStart = ZQ33->rowIndex();
}

void TData::MasterDatasetCheckEOF(bool &eof)
{
    eof = eof || ZQ33->eof();
}

void TData::MasterDatasetNext()
{
    // The detail walk has already left ZQ33 on the first owner of the next group.
    groupStart = ZQ33->rowIndex();
}

void TData::DetailDatasetFirst()
{
    if (groupStart >= 0)
        ZQ33->setRowIndex(groupStart);
    mv().groupInitial = initialOf(ZQ33);
    variables.set(QStringLiteral("betu"),
                  mv().groupInitial.isNull() ? QString() : QString(mv().groupInitial));
}

void TData::DetailDatasetNext()
{
    ZQ33->next();
}

void TData::DetailDatasetCheckEOF(bool &eof)
{
    // Exact comparison: upper and lower case, accented and plain letters make different groups.
    eof = eof || ZQ33->eof() || initialOf(ZQ33) != mv().groupInitial;
}
