#include "foundation/tdata.h"

namespace {
TData *theData = nullptr;
}

TData &Data()
{
    Q_ASSERT(theData);
    return *theData;
}
bool hasData()
{
    return theData != nullptr;
}
void setData(TData *data)
{
    theData = data;
}

Query *TData::makeQuery(const QString &name, const QString &designSql)
{
    auto *q = new Query(connection.get(), name, this);
    if (!designSql.isEmpty())
        q->addSql(designSql);
    queries.insert(name.toLower(), q);
    return q;
}

DataSource *TData::makeSource(Query *q, const QString &name)
{
    return new DataSource(q, name, this);
}

report::QueryDataset *TData::makeDataset(int number, Query *q)
{
    auto ds = std::make_unique<report::QueryDataset>(QStringLiteral("frDBDataSet%1").arg(number), q);
    auto *raw = ds.get();
    ownedDatasets.push_back(std::move(ds));
    datasets.insert(number, raw);
    return raw;
}

TData::TData(const ConnectionSettings &settings, QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("Data"));
    connection = std::make_unique<Connection>(settings);
    ZCon1 = connection.get();

    const char *tables[] = {"haszn",  "alresz", "tulaj", "tabla",  "muvag", "varos",
                            "tforma", "berlo",  "kifiz", "fekves", "munk"};
    Query **views[] = {&ZTable1, &ZTable2, &ZTable3, &ZTable4,  &ZTable5, &ZTable6,
                       &ZTable7, &ZTable8, &ZTable9, &ZTable10, &ZTable11};
    // Opening a view proves that its table exists. Only the tenant's row is read (the report
    // headers print it); the other views read the columns and no row, so start-up costs the same
    // on an empty register and on one of a hundred thousand rows.
    for (int i = 0; i < 11; ++i)
        *views[i] = makeQuery(QStringLiteral("ZTable%1").arg(i + 1),
                              QStringLiteral("SELECT * FROM %1%2")
                                  .arg(QLatin1String(tables[i]),
                                       views[i] == &ZTable8 ? QString() : QStringLiteral(" LIMIT 0")));

    ZQ10 = makeQuery(QStringLiteral("ZQ10"), QStringLiteral("select * from haszn"));
    ZQ11 = makeQuery(QStringLiteral("ZQ11"), QStringLiteral("select * from haszn"));
    ZQ12 = makeQuery(QStringLiteral("ZQ12"));
    ZQ13 = makeQuery(QStringLiteral("ZQ13"));
    ZQ20 = makeQuery(QStringLiteral("ZQ20"), QStringLiteral("select * from alresz"));
    ZQ22 = makeQuery(QStringLiteral("ZQ22"));
    ZQ23 = makeQuery(QStringLiteral("ZQ23"));
    ZQ30 = makeQuery(QStringLiteral("ZQ30"), QStringLiteral("select * from tulaj"));
    ZQ31 = makeQuery(QStringLiteral("ZQ31"));
    ZQ32 = makeQuery(QStringLiteral("ZQ32"));
    ZQ33 = makeQuery(QStringLiteral("ZQ33"));
    ZQ40 = makeQuery(QStringLiteral("ZQ40"), QStringLiteral("select * from tabla"));
    ZQ41 = makeQuery(QStringLiteral("ZQ41"));
    ZQ42 = makeQuery(QStringLiteral("ZQ42"));
    ZQ43 = makeQuery(QStringLiteral("ZQ43"));
    ZQ50 = makeQuery(QStringLiteral("ZQ50"));
    ZQ52 = makeQuery(QStringLiteral("ZQ52"));
    ZQ53 = makeQuery(QStringLiteral("ZQ53"));
    ZQ60 = makeQuery(QStringLiteral("ZQ60"));
    ZQ62 = makeQuery(QStringLiteral("ZQ62"));
    ZQ63 = makeQuery(QStringLiteral("ZQ63"));
    ZQ70 = makeQuery(QStringLiteral("ZQ70"), QStringLiteral("select * from tforma"));
    ZQ72 = makeQuery(QStringLiteral("ZQ72"));
    ZQ73 = makeQuery(QStringLiteral("ZQ73"));
    ZQ80 = makeQuery(QStringLiteral("ZQ80"));
    ZQ90 = makeQuery(QStringLiteral("ZQ90"), QStringLiteral("select * from kifiz"));
    ZQ91 = makeQuery(QStringLiteral("ZQ91"));
    ZQ92 = makeQuery(QStringLiteral("ZQ92"));
    ZQ93 = makeQuery(QStringLiteral("ZQ93"));
    ZQ100 = makeQuery(QStringLiteral("ZQ100"), QStringLiteral("select * from fekves"));
    ZQ102 = makeQuery(QStringLiteral("ZQ102"));
    ZQ103 = makeQuery(QStringLiteral("ZQ103"));
    ZQ110 = makeQuery(QStringLiteral("ZQ110"));
    ZQ111 = makeQuery(QStringLiteral("ZQ111"));
    ZQ112 = makeQuery(QStringLiteral("ZQ112"));
    ZQ113 = makeQuery(QStringLiteral("ZQ113"));
    ZQ114 = makeQuery(QStringLiteral("ZQ114"));
    ZQ115 = makeQuery(QStringLiteral("ZQ115"));

    DQ10 = makeSource(ZQ10, QStringLiteral("DQ10"));
    DS11 = makeSource(ZQ11, QStringLiteral("DS11"));
    DQ12 = makeSource(ZQ12, QStringLiteral("DQ12"));
    DQ20 = makeSource(ZQ20, QStringLiteral("DQ20"));
    DQ30 = makeSource(ZQ30, QStringLiteral("DQ30"));
    DQ31 = makeSource(ZQ31, QStringLiteral("DQ31"));
    DQ40 = makeSource(ZQ40, QStringLiteral("DQ40"));
    DQ50 = makeSource(ZQ50, QStringLiteral("DQ50"));
    DQ60 = makeSource(ZQ60, QStringLiteral("DQ60"));
    DQ70 = makeSource(ZQ70, QStringLiteral("DQ70"));
    DQ80 = makeSource(ZQ80, QStringLiteral("DQ80"));
    DQ90 = makeSource(ZQ90, QStringLiteral("DQ90"));
    DQ100 = makeSource(ZQ100, QStringLiteral("DQ100"));
    DS110 = makeSource(ZQ110, QStringLiteral("DS110"));
    DataSource **tableSources[] = {&DS1, &DS2, &DS3, &DS4, &DS5, &DS6, &DS7, &DS8, &DS9, &DS10};
    for (int i = 0; i < 10; ++i)
        *tableSources[i] = makeSource(*views[i], QStringLiteral("DS%1").arg(i + 1));

    // Report datasets and the queries they walk.
    makeDataset(1, ZQ110);
    makeDataset(2, ZQ111);
    makeDataset(3, ZQ31);
    makeDataset(4, ZQ43);
    makeDataset(5, ZQ13);
    makeDataset(6, ZQ12);
    makeDataset(7, ZQ13);
    makeDataset(8, ZQ12);
    makeDataset(9, ZQ113);
    makeDataset(10, ZQ93);
    makeDataset(11, ZQ13);
    makeDataset(12, ZQ110);
    makeDataset(13, ZQ23);
    makeDataset(31, ZQ30);
    makeDataset(53, ZQ53);
    makeDataset(63, ZQ63);
    makeDataset(73, ZQ73);
    makeDataset(100, ZQ103);
    makeDataset(110, ZQ110);
    auto master = std::make_unique<report::UserDataset>(QStringLiteral("MasterDataset"));
    auto detail = std::make_unique<report::UserDataset>(QStringLiteral("DetailDataset"));
    MasterDataset = master.get();
    DetailDataset = detail.get();
    ownedDatasets.push_back(std::move(master));
    ownedDatasets.push_back(std::move(detail));
    wireReportCallbacks();
}

TData::~TData()
{
    // Queries hold results of the connection: free them before it closes.
    for (Query *q : std::as_const(queries))
        q->close();
}

QList<Query *> TData::tableViews() const
{
    return {ZTable1, ZTable2, ZTable3, ZTable4,  ZTable5, ZTable6,
            ZTable7, ZTable8, ZTable9, ZTable10, ZTable11};
}

void TData::reopenTableViews()
{
    const auto views = tableViews();
    for (Query *v : views)
        v->close();
    for (Query *v : views)
        v->open();
}

Query *TData::query(const QString &name) const
{
    return queries.value(name.toLower(), nullptr);
}

report::QueryDataset *TData::frDBDataSet(int number) const
{
    return datasets.value(number, nullptr);
}

report::RowTable &TData::rowTable(const QString &name)
{
    const QString n = name.toLower();
    if (report::QueryDataset *d = tableDatasets.value(n))
        return *static_cast<report::RowTable *>(d->cursor());
    ownedTables.push_back(std::make_unique<report::RowTable>());
    report::RowTable *table = ownedTables.back().get();
    auto ds = std::make_unique<report::QueryDataset>(name, table);
    tableDatasets.insert(n, ds.get());
    ownedDatasets.push_back(std::move(ds));
    return *table;
}

report::Dataset *TData::dataset(const QString &name)
{
    const QString n = name.toLower();
    if (report::QueryDataset *d = tableDatasets.value(n))
        return d;
    if (n == QLatin1String("masterdataset"))
        return MasterDataset;
    if (n == QLatin1String("detaildataset"))
        return DetailDataset;
    if (n.startsWith(QLatin1String("frdbdataset"))) {
        bool ok = false;
        const int number = n.mid(11).toInt(&ok);
        if (ok)
            return datasets.value(number, nullptr);
    }
    return nullptr;
}

report::RowCursor *TData::component(const QString &name)
{
    if (Query *q = query(name))
        return q;
    if (report::Dataset *d = dataset(name))
        return d->cursor();
    return nullptr;
}
