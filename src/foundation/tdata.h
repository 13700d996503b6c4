#pragma once
// The data module: the one connection ZCon1, the eleven table views, every named query with its
// data source, and the report datasets. Created once by the main window; windows reach it through
// Data() and never create queries of their own.

#include "foundation/connection.h"
#include "foundation/datasource.h"
#include "foundation/query.h"
#include "reports/engine/datasource.h"
#include "reports/engine/report.h"
#include "reports/engine/rowtable.h"
#include "reports/engine/variables.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>

class TData : public QObject, public report::DataContext
{
    Q_OBJECT
public:
    // Connects at once; throws DbError when the connection fails.
    explicit TData(const ConnectionSettings &settings = ConnectionSettings::fromEnvironment(),
                   QObject *parent = nullptr);
    ~TData() override;

    Connection *ZCon1 = nullptr;

    // Table views: haszn, alresz, tulaj, tabla, muvag, varos, tforma, berlo, kifiz, fekves, munk.
    // Open from start-up; only berlo's (the tenant's) rows are read, the others hold no row.
    Query *ZTable1, *ZTable2, *ZTable3, *ZTable4, *ZTable5, *ZTable6, *ZTable7, *ZTable8, *ZTable9, *ZTable10,
        *ZTable11;

    Query *ZQ10, *ZQ11, *ZQ12, *ZQ13;
    Query *ZQ20, *ZQ22, *ZQ23;
    Query *ZQ30, *ZQ31, *ZQ32, *ZQ33;
    Query *ZQ40, *ZQ41, *ZQ42, *ZQ43;
    Query *ZQ50, *ZQ52, *ZQ53;
    Query *ZQ60, *ZQ62, *ZQ63;
    Query *ZQ70, *ZQ72, *ZQ73;
    Query *ZQ80;
    Query *ZQ90, *ZQ91, *ZQ92, *ZQ93;
    Query *ZQ100, *ZQ102, *ZQ103;
    Query *ZQ110, *ZQ111, *ZQ112, *ZQ113, *ZQ114;
    Query *ZQ115; // the payout's owners with their accounts

    DataSource *DQ10, *DS11, *DQ12, *DQ20, *DQ30, *DQ31, *DQ40, *DQ50, *DQ60, *DQ70, *DQ80, *DQ90, *DQ100,
        *DS110;
    DataSource *DS1, *DS2, *DS3, *DS4, *DS5, *DS6, *DS7, *DS8, *DS9, *DS10;

    // The table views in the order start-up closes and opens them.
    QList<Query *> tableViews() const;
    // Closes and then opens the eleven table views; throws when a table is missing.
    void reopenTableViews();

    Query *query(const QString &name) const; // any query or table view by name, case-insensitive

    // report::DataContext
    report::Dataset *dataset(const QString &name) override;
    report::RowCursor *component(const QString &name) override;

    // Report datasets (which query each walks, and its callbacks).
    report::QueryDataset *frDBDataSet(int number) const;
    // Rows the program computes itself, walked by a report dataset of the same name (the payout's
    // lists); made empty on first use.
    report::RowTable &rowTable(const QString &name);
    report::UserDataset *MasterDataset = nullptr;
    report::UserDataset *DetailDataset = nullptr;

    // The report object (holds the template loaded last) and the program-wide report variables.
    report::Report frNyomtat;
    report::Variables variables;

    // Detail queries: the items (ZQ12) and their totals (ZQ11) of the current row of ZQ13.
    void alreszTeteles();
    void sumAK_aHkod();
    void alreszTetelesNev();
    void sumAK_hNkod();
    void alreszTetelesHrsz();
    void sumAK_aTkod();
    void alreszTetelesVaros();
    void sumAK_tVkod();
    void frDBDataSet5Next();
    void frDBDataSet6Close();

    // The owner list grouped by initial: both user datasets walk ZQ33.
    void MasterDatasetFirst();
    void MasterDatasetNext();
    void MasterDatasetCheckEOF(bool &eof);
    void DetailDatasetFirst();
    void DetailDatasetNext();
    void DetailDatasetCheckEOF(bool &eof);
    int groupStart = -1; // bookmark in ZQ33: the first owner of the current group

    // Callbacks of the settlement prints, installed by the settlement windows' subsystem.
    std::function<void()> frDBDataSet1Next, frDBDataSet2Close, frDBDataSet12Next, frDBDataSet13Open,
        frDBDataSet110First, frDBDataSet110Next;

private:
    Query *makeQuery(const QString &name, const QString &designSql = QString());
    DataSource *makeSource(Query *q, const QString &name);
    report::QueryDataset *makeDataset(int number, Query *q);
    void wireReportCallbacks();

    std::unique_ptr<Connection> connection;
    QHash<QString, Query *> queries; // lower-case name
    QHash<int, report::QueryDataset *> datasets;
    QHash<QString, report::QueryDataset *> tableDatasets; // lower-case name
    std::vector<std::unique_ptr<report::RowTable>> ownedTables;
    std::vector<std::unique_ptr<report::Dataset>> ownedDatasets;
};

// The one data module of the run (created by the main window).
TData &Data();
bool hasData();
void setData(TData *data);
