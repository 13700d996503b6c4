#include "maintenance/maintenance.h"

#include "forms/controls.h"
#include "foundation/account.h"
#include "foundation/connection.h"
#include "foundation/keys.h"
#include "foundation/tdata.h"
#include "foundation/ui.h"
#include "foundation/windows.h"
#include "reports/printing.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

using forms::button;

} // namespace

// ---- lists ---------------------------------------------------------------------------------

TForm25::TForm25(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form25"_s);
    keys::centreWhenShown(this);
    setWindowTitle(u"Lista készítés"_s);
    auto *outer = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(u"Melyik lista készüljön ?"_s, this);
    GroupBox1->setObjectName(u"GroupBox1"_s);
    GroupBox1->setToolTip(u"A csoportból egy választható ki."_s);
    auto *choices = new QVBoxLayout(GroupBox1);
    const char *captions[] = {"Szerződésszám", "Név", "Helyrajziszám", "Település", "Kifizetés"};
    QRadioButton **radios[] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4, &RadioButton5};
    for (int i = 0; i < 5; ++i) {
        *radios[i] = new QRadioButton(QString::fromUtf8(captions[i]), GroupBox1);
        (*radios[i])->setObjectName(u"RadioButton%1"_s.arg(i + 1));
        choices->addWidget(*radios[i]);
        // A code picked for one kind of list is no code of another: a change of choice drops it.
        connect(*radios[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Edit2->setText(u"Edit2"_s);
        });
    }
    outer->addWidget(GroupBox1);
    Edit2 = new QLineEdit(u"Edit2"_s, this);
    Edit2->setObjectName(u"Edit2"_s);
    Edit2->setReadOnly(true);
    Edit2->setAccessibleName(u"Kiválasztott kód"_s);
    Edit2->hide();
    RadioButton1->setChecked(true);
    auto *row = new QHBoxLayout;
    Button8 = button(this, u"Button8"_s, u"Kiválasztás"_s, u"Klikk a gombra.  Megnyíló ablakból válszt."_s);
    Button7 = button(this, u"Button7"_s, u"Nyomtat"_s, u"Lista nyomtatása"_s);
    Button5 = button(this, u"Button5"_s, u"Mégsem"_s, u"Kilépés, ablak bezárás"_s);
    row->addWidget(Button8);
    row->addStretch();
    row->addWidget(Button7);
    row->addWidget(Button5);
    outer->addLayout(row);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button8, &QPushButton::clicked, this, &TForm25::Button8Click);
    connect(Button7, &QPushButton::clicked, this, &TForm25::Button7Click);
    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);
}

int TForm25::choice() const
{
    const QRadioButton *radios[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5};
    for (int i = 0; i < 5; ++i)
        if (radios[i]->isChecked())
            return i + 3;
    return 3;
}

void TForm25::Button8Click()
{
    struct Pick
    {
        const char *window;
        Query *TData::*query;
        const char *field;
    };
    static const Pick picks[] = {{"TForm15", &TData::ZQ10, "hKod"},
                                 {"TForm3", &TData::ZQ30, "nKod"},
                                 {"TForm13", &TData::ZQ40, "tKod"},
                                 {"TForm7", &TData::ZQ60, "vKod"},
                                 {"TForm20", &TData::ZQ90, "kKod"}};
    const Pick &p = picks[choice() - 3];
    windows::openModal(QString::fromLatin1(p.window), this);
    // Whichever way the list closed, its current row is the pick.
    Query *q = Data().*p.query;

    Edit2->setText(q->isOpen() ? q->fieldText(QString::fromLatin1(p.field)) : QString());
}

void TForm25::Button7Click()
{
    TData &d = Data();
    const int list = choice();
    const QString code = Edit2->text();
    auto run = [&](const QStringList &lines) {
        d.ZQ13->setSql(lines);
        d.ZQ13->setText(u"p1"_s, code);
        d.ZQ13->open();
        d.ZQ13->refresh();
    };
    if (list == 7) {
        run({u"SELECT *  "_s, u"  FROM kifiz  "_s, u"  JOIN tulaj  ON tulaj.nKod   = kifiz.kNkod "_s,
             u"  WHERE   kKod = :p1   "_s});
        printTemplate(u"lista7.frf"_s, QPageLayout::Portrait);
        return;
    }
    struct List
    {
        QStringList totals, selection;
        void (TData::*items)();
        void (TData::*sums)();
    };
    const QString sumLine = u"SELECT SUM(aAK) AS m_AK, SUM(aHA) AS m_HA  "_s;
    const QString fromItems = u"  FROM alresz  "_s;
    const List lists[] = {
        {{sumLine, fromItems, u"  JOIN haszn ON haszn.hKod = alresz.aHkod "_s, u"  WHERE  hKod = :p1   "_s},
         {u"  WHERE   hKod = :p1   "_s},
         &TData::alreszTeteles,
         &TData::sumAK_aHkod},
        {{sumLine, fromItems, u"  JOIN haszn ON haszn.hKod = alresz.aHkod "_s,
          u"  JOIN tulaj ON tulaj.nKod = haszn.hNkod "_s, u"  WHERE  NKod = :p1  "_s},
         {u"  WHERE  hNKod = :p1  "_s, u"  GROUP BY Nkod "_s, u"  ORDER BY Nkod "_s},
         &TData::alreszTetelesNev,
         &TData::sumAK_hNkod},
        {{sumLine, fromItems, u"  JOIN tabla ON tabla.tKod = alresz.aTkod "_s, u"  WHERE  aTKod = :p1  "_s},
         {u"  WHERE  aTKod = :p1  "_s, u"  GROUP BY aTkod "_s, u"  ORDER BY aTkod "_s},
         &TData::alreszTetelesHrsz,
         &TData::sumAK_aTkod},
        {{sumLine, fromItems, u"  JOIN tabla ON tabla.tKod = alresz.aTkod "_s,
          u"  JOIN varos ON varos.vKod = tabla.tVkod "_s, u"  WHERE  vKod = :p1   "_s},
         {u"  WHERE   vKod = :p1   "_s, u"  GROUP BY vKod "_s, u"  ORDER BY vKod "_s},
         &TData::alreszTetelesVaros,
         &TData::sumAK_tVkod}};
    const List &l = lists[list - 3];
    // 1. The totals (0 when there is nothing to sum).
    run(l.totals);
    d.variables.set(u"v_mAK"_s, d.ZQ13->fieldNumber(u"m_AK"_s));
    d.variables.set(u"v_mHA"_s, d.ZQ13->fieldNumber(u"m_HA"_s));
    // 2. The master rows.
    QStringList master{u"SELECT *  "_s,
                       u"  FROM haszn  "_s,
                       u"  JOIN alresz ON alresz.aHkod = haszn.hKod "_s,
                       u"  JOIN tulaj  ON tulaj.nKod   = haszn.hNkod "_s,
                       u"  JOIN tabla  ON tabla.tKod   = alresz.aTkod "_s,
                       u"  JOIN varos  ON varos.vKod   = tabla.tVkod "_s};
    run(master + l.selection);
    // 3. The item lines and their totals for the first row.
    (d.*l.items)();
    (d.*l.sums)();
    printTemplate(u"lista%1.frf"_s.arg(list), QPageLayout::Portrait);
}

// ---- consistency check and purge -----------------------------------------------------------

namespace {
QString text(const Query &q, const char *field)
{
    return q.fieldText(QString::fromLatin1(field));
}
} // namespace

QStringList maintenance::Check::outerLines() const
{
    return {u"SELECT * "_s, u"  FROM %1 "_s.arg(table), u"  ORDER BY %1 "_s.arg(orderBy)};
}

const QList<maintenance::Check> &maintenance::checks()
{
    // A lookup binds the reference read as text, so a NULL reference looks for the empty code.
    static const QList<Check> all{
        {u"Tábla "_s, u"alresz"_s, u"aTkod"_s, u"IDa"_s, u"akod, aTkod"_s,
         u"NOT EXISTS (SELECT 1 FROM tabla WHERE tKod = COALESCE(alresz.aTkod, ''))"_s,
         [](const Query &q) { return "aKOD= " + text(q, "akod") + " aTKOD= " + text(q, "aTkod"); }},
        {u"Tulajdonos"_s, u"haszn"_s, u"HNkod"_s, u"IDh"_s, u"Hkod, HNkod"_s,
         u"NOT EXISTS (SELECT 1 FROM tulaj WHERE nKod = COALESCE(haszn.hNkod, ''))"_s,
         [](const Query &q) { return "HKOD= " + text(q, "Hkod") + " hNKOD= " + text(q, "HNkod"); }},
        {u"Müv.ág"_s, u"alresz"_s, u"aMkod"_s, u"IDa"_s, u"akod, aMkod"_s,
         u"NOT EXISTS (SELECT 1 FROM muvag WHERE mKod = COALESCE(alresz.aMkod, ''))"_s,
         [](const Query &q) { return "aKOD= " + text(q, "akod") + " aMKOD= " + text(q, "aMkod"); }},
        {u"Város"_s, u"tabla"_s, u"tVkod"_s, u"IDt"_s, u"Tkod, tVkod"_s,
         u"NOT EXISTS (SELECT 1 FROM varos WHERE vKod = COALESCE(tabla.tVkod, ''))"_s,
         [](const Query &q) { return "tKOD= " + text(q, "Tkod") + " tVKOD= " + text(q, "tVkod"); }},
        {u"Tulajdon forma"_s, u"tabla"_s, u"tUkod"_s, u"IDt"_s, u"tkod, tUKod"_s,
         u"NOT EXISTS (SELECT 1 FROM tforma WHERE uKod = COALESCE(tabla.tUkod, ''))"_s,
         [](const Query &q) { return "tKOD= " + text(q, "tkod") + " tUKOD= " + text(q, "tUKod"); }},
        {u"Bérlet -> Alrész"_s, u"haszn"_s, u"Hkod"_s, u"IDh"_s, u"Hkod"_s,
         u"NOT EXISTS (SELECT 1 FROM alresz WHERE aHkod = COALESCE(haszn.hKod, ''))"_s,
         [](const Query &q) { return "HKOD= " + text(q, "Hkod") + " AKOD= "; }},
        {u"Alrész -> Bérlet"_s, u"alresz"_s, u"Akod"_s, u"IDa"_s, u"Akod, aHkod"_s,
         u"NOT EXISTS (SELECT 1 FROM haszn WHERE hKod = COALESCE(alresz.aHkod, ''))"_s,
         [](const Query &q) { return "AKOD= " + text(q, "Akod") + " HKOD= " + text(q, "aHkod"); }},
        // Owners whose account number is there but neither a Hungarian number nor an IBAN: listed,
        // not changed (the payout sends them nothing until it is mended).
        {u"Számlaszám"_s,
         u"tulaj"_s,
         u"Nkod"_s,
         u"IDn"_s,
         u"Nkod, nSzla"_s,
         QString(),
         {},
         [](TData &d) {
             Query *q = d.ZQ11;
             q->setSql({u"SELECT IDn, Nkod, nSzla "_s, u"  FROM tulaj "_s, u"  WHERE TRIM(nSzla) <> '' "_s,
                        u"  ORDER BY Nkod "_s});
             q->open();
             QStringList lines;
             for (q->first(); !q->eof(); q->next())
                 if (account::parse(text(*q, "nSzla")).kind == account::Kind::Invalid)
                     lines << "NKOD= " + text(*q, "Nkod") + " SZLA= " + text(*q, "nSzla");
             return lines;
         }},
    };
    return all;
}

QStringList maintenance::runCheck(TData &d, int index)
{
    const Check &c = checks().at(index);
    if (c.own)
        return c.own(d);
    // The outer statement narrowed to the rows that point nowhere, each with the number of such
    // rows that share its sort value (as the server compares them).
    Query *q = d.ZQ11;
    q->setSql({u"SELECT %1, %2, COUNT(*) OVER (PARTITION BY %3) AS zelvTies "_s.arg(c.idColumn, c.lineColumns,
                                                                                    c.orderBy),
               u"  FROM %1 "_s.arg(c.table), u"  WHERE "_s + c.missingCondition,
               u"  ORDER BY %1 "_s.arg(c.orderBy)});
    q->open();
    QStringList lines;
    bool ties = false;
    QSet<QString> ids;
    for (q->first(); !q->eof(); q->next()) {
        lines << c.line(*q);
        ids.insert(q->fieldText(c.idColumn));
        ties = ties || q->fieldText(u"zelvTies"_s).toLongLong() > 1;
    }
    if (!ties)
        return lines; // each sort value once: the order is the sort's
    // Rows of one sort value come in the order in which the server's sort of the whole table
    // leaves them, which no narrower statement reproduces: the outer statement is walked.
    lines.clear();
    q->setSql(c.outerLines());
    q->open();
    for (q->first(); !q->eof() && lines.size() < ids.size(); q->next())
        if (ids.contains(q->fieldText(c.idColumn)))
            lines << c.line(*q);
    return lines;
}

QStringList maintenance::purgeOwners(TData &d)
{
    // An owner whom a contract or a payment names stays: deleting one named by payments would
    // leave them pointing at nobody, and hand them to the next owner given the freed code.
    const QString unused = u"NOT EXISTS (SELECT 1 FROM haszn WHERE hNkod = tulaj.nKod) "
                           u"AND NOT EXISTS (SELECT 1 FROM kifiz WHERE kNkod = tulaj.nKod)"_s;
    Query *stmt = d.ZQ32;
    auto run = [stmt](const QString &line) {
        stmt->setSql({line});
        stmt->execSql();
    };
    // All of them or none.
    run(u"START TRANSACTION"_s);
    QStringList lines;
    try {
        // Owner codes are unique, so this is the order in which a walk of every owner by code meets
        // them.
        Query *owners = d.ZQ31;
        owners->setSql({u"SELECT IDn, Nkod FROM tulaj "_s, u"  WHERE "_s + unused, u"  ORDER BY Nkod "_s});
        owners->open();
        QStringList ids;
        for (owners->first(); !owners->eof(); owners->next()) {
            ids << owners->fieldText(u"IDn"_s);
            lines << "NKOD= " + owners->fieldText(u"Nkod"_s) + " Törölve.";
        }
        quint64 deleted = 0;
        constexpr int kChunk = 500;
        for (int from = 0; from < ids.size(); from += kChunk) {
            const QStringList chunk = ids.mid(from, kChunk);
            QStringList params;
            for (int i = 0; i < chunk.size(); ++i)
                params << u":i%1"_s.arg(i);
            // Named again: an owner given a contract meanwhile is not deleted.
            stmt->setSql(
                {u"DELETE FROM tulaj WHERE IDn IN (%1) "_s.arg(params.join(u", "_s)), u"  AND "_s + unused});
            for (int i = 0; i < chunk.size(); ++i)
                stmt->setText(u"i%1"_s.arg(i), chunk[i]);
            stmt->execSql();
            deleted += d.ZCon1->affectedRows();
        }
        if (deleted != quint64(ids.size()))
            throw DbError(u"A tulajdonosok adatai törlés közben megváltoztak, ezért egy név sem törlődött. "
                          u"Kérem, indítsa újra a törlést."_s);
        run(u"COMMIT"_s);
    } catch (...) {
        try {
            run(u"ROLLBACK"_s);
        } catch (...) {
        }
        throw;
    }
    return lines;
}

TForm27::TForm27(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form27"_s);
    keys::centreWhenShown(this);
    setWindowTitle(u"Ellenörzés"_s);
    auto *outer = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    GroupBox1 = new QGroupBox(u"Melyiket ?"_s, this);
    GroupBox1->setObjectName(u"GroupBox1"_s);
    auto *choices = new QVBoxLayout(GroupBox1);
    for (int i = 0; i < maintenance::checks().size(); ++i) {
        auto *r = new QRadioButton(maintenance::checks()[i].caption, GroupBox1);
        r->setObjectName(u"RadioButton%1"_s.arg(i + 1));
        choices->addWidget(r);
        RadioButtons << r;
    }
    RadioButtons.first()->setChecked(true);
    Button1 = button(GroupBox1, u"Button1"_s, u"Ellenörzés"_s, u"Egyenkénti adatellenőrzés."_s);
    choices->addWidget(Button1);
    left->addWidget(GroupBox1);
    GroupBox2 = new QGroupBox(u"Nem használt tulajdonos név"_s, this);
    GroupBox2->setObjectName(u"GroupBox2"_s);
    auto *purge = new QVBoxLayout(GroupBox2);
    Button3 = button(GroupBox2, u"Button3"_s, u"Törlés"_s, u"Törölt név már nem állítható vissza."_s);
    purge->addWidget(Button3);
    left->addWidget(GroupBox2);
    left->addStretch();
    Button2 = button(this, u"Button2"_s, u"Mégsem"_s, u"Kilépés, ablak bezárás"_s);
    left->addWidget(Button2);
    outer->addLayout(left);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(u"Memo1"_s);
    Memo1->setReadOnly(true);
    Memo1->setToolTip(u"A hiba lista itt jelenik meg."_s);
    Memo1->setAccessibleName(u"Hibalista"_s);
    Memo1->setPlainText(u"Hibalista"_s);
    Memo1->setMinimumSize(Memo1->fontMetrics().averageCharWidth() * 50, Memo1->fontMetrics().height() * 22);
    outer->addWidget(Memo1, 1);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, &TForm27::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm27::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm27::Button1Click()
{
    int index = 0;
    for (int i = 0; i < RadioButtons.size(); ++i)
        if (RadioButtons[i]->isChecked())
            index = i;
    Button1->setEnabled(false);
    Button3->setEnabled(false);
    Memo1->clear();
    Memo1->appendPlainText(u"Ellenörzés. Kérem várjon..."_s);
    QCoreApplication::processEvents(); // the wait line shows while the check runs
    // A database error goes to the standard error box; the lines so far stay and the buttons stay
    // off until the window is opened again.
    const QStringList lines = maintenance::runCheck(Data(), index);
    if (!lines.isEmpty())
        Memo1->appendPlainText(lines.join(QLatin1Char('\n')));
    Memo1->appendPlainText(u"Ellenörzés vége. "_s);
    Button1->setEnabled(true);
    Button3->setEnabled(true);
}

void TForm27::Button3Click()
{
    Button1->setEnabled(false);
    Button3->setEnabled(false);
    Memo1->clear();
    Memo1->appendPlainText(u"Kérem várjon..."_s);
    Memo1->appendPlainText(u"Nem használt tulajdonos törlése... "_s);
    QCoreApplication::processEvents();
    const QStringList lines = maintenance::purgeOwners(Data());
    if (!lines.isEmpty())
        Memo1->appendPlainText(lines.join(QLatin1Char('\n')));
    Memo1->appendPlainText(u"Vége. "_s);
    Button1->setEnabled(true);
    Button3->setEnabled(true);
}

// ---- data export ---------------------------------------------------------------------------

const QList<maintenance::ExportTable> &maintenance::exportTables()
{
    static const QList<ExportTable> all{
        {u"CheckBox1"_s, u"Haszonbérlet"_s, u"haszn"_s, u"haszn.txt"_s},
        {u"CheckBox2"_s, u"Alrészlet"_s, u"alresz"_s, u"alresz.txt"_s},
        {u"CheckBox3"_s, u"Tulajdonos"_s, u"tulaj"_s, u"tulaj.txt"_s},
        {u"CheckBox4"_s, u"Tábla"_s, u"tabla"_s, u"tabla.txt"_s},
        {u"CheckBox5"_s, u"Müvelési ág"_s, u"muvag"_s, u"muvag.txt"_s},
        {u"CheckBox6"_s, u"Helységnév"_s, u"varos"_s, u"varos.txt"_s},
        {u"CheckBox7"_s, u"Tulajdonforma"_s, u"tforma"_s, u"tforma.txt"_s},
        {u"CheckBox8"_s, u"Bérlö"_s, u"berlo"_s, u"berlo.txt"_s},
        {u"CheckBox9"_s, u"Fekvés"_s, u"fekves"_s, u"fekves.txt"_s},
        // A safekeeping copy without the payments would be no copy of the register.
        {u"CheckBox10"_s, u"Kifizetés"_s, u"kifiz"_s, u"kifiz.txt"_s},
    };
    return all;
}

QString maintenance::defaultExportPlace(TData &d)
{
    d.ZQ80->setSql({u"SELECT @@secure_file_priv AS place"_s});
    d.ZQ80->open();
    QString place = d.ZQ80->fieldText(u"place"_s);
    if (place.isEmpty() || !QDir::isAbsolutePath(place)) {
        QString data = qEnvironmentVariable("XDG_DATA_HOME");
        if (data.isEmpty())
            data = QDir::homePath() + u"/.local/share"_s;
        place = data + u"/zelvana/export"_s;
    }
    if (!place.endsWith(QLatin1Char('/')))
        place += QLatin1Char('/');
    return place;
}

void maintenance::exportTable(TData &d, const ExportTable &t, const QString &folder)
{
    // The server writes a new file beside the old one; only when it succeeded does the new file
    // take the old one's name (a rename within the folder: the old export is never lost half-way).
    const QString final = folder + t.file;
    const QString temporary = u"%1%2.%3-%4.uj"_s.arg(folder, t.file)
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(QDateTime::currentMSecsSinceEpoch());
    Query *q = d.ZQ80;
    q->setSql({u"SELECT * INTO OUTFILE :p0 "_s, u"FIELDS TERMINATED BY \",\"  "_s,
               u"ENCLOSED BY \":\"           "_s, u"ESCAPED BY \"\\\\\"           "_s,
               u"LINES TERMINATED BY \"*\"   "_s, u"   FROM "_s + t.table});
    q->setText(u"p0"_s, temporary);
    q->execSql();
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(final).constData()) != 0)
        throw DbError(u"Az exportált %1 nem tehető a helyére (%2); az új adat itt maradt: %3"_s.arg(
            t.file, final, temporary));
    // The register's personal data: the user's eyes only.
    QFile::setPermissions(final, QFile::ReadOwner | QFile::WriteOwner);
}

TForm26::TForm26(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form26"_s);
    setWindowTitle(u"Adat export"_s);
    auto *outer = new QVBoxLayout(this);
    Label1 = new QLabel(u"Mentésre kerülö adatok:"_s, this);
    Label1->setObjectName(u"Label1"_s);
    outer->addWidget(Label1);
    auto *grid = new QGridLayout;
    const auto &tables = maintenance::exportTables();
    for (int i = 0; i < tables.size(); ++i) {
        auto *c = new QCheckBox(tables[i].caption, this);
        c->setObjectName(tables[i].checkName);
        c->setChecked(true);
        grid->addWidget(c, i % 5, i / 5);
        CheckBoxes << c;
    }
    outer->addLayout(grid);
    Label2 = new QLabel(u"Mentés helye:"_s, this);
    Label2->setObjectName(u"Label2"_s);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setToolTip(u"ide kerül az export letárolásra."_s);
    Edit1->setMinimumWidth(Edit1->fontMetrics().averageCharWidth() * 60);
    Label2->setBuddy(Edit1);
    outer->addWidget(Label2);
    outer->addWidget(Edit1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    Button1 = button(this, u"Button1"_s, u"OK"_s, u"Export indítása"_s);
    Button2 = button(this, u"Button2"_s, u"Mégsem"_s, u"Kilépés, ablak bezárás"_s);
    Button2->hide(); // the window closes through its title bar
    row->addWidget(Button1);
    row->addWidget(Button2);
    outer->addLayout(row);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, &TForm26::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm26::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!shown) {
        shown = true;
        keys::centreOnScreen(this);
        // The folder the server may write into, as a full path.
        Edit1->setText(maintenance::defaultExportPlace(Data()));
    }
}

void TForm26::Button1Click()
{
    QString place = Edit1->text().trimmed();
    // A place that is no full path ("a:\", "mentes") would be a file name inside the server's data
    // folder: refused before anything is written.
    if (!QDir::isAbsolutePath(place)) {
        ui::message(
            u"A mentés helye egy mappa teljes elérési útja legyen (például %1), nem „%2”. Nem történt mentés."_s
                .arg(maintenance::defaultExportPlace(Data()), place));
        Edit1->setFocus();
        return;
    }
    // The place travels in the statement's code page: a folder name it cannot carry would be
    // refused by the first table; said once, before anything is written.
    if (const QString bad = Cp1250::firstUnrepresentable(place); !bad.isEmpty()) {
        ui::message(
            u"A(z) „%1” karakter nem szerepelhet a mentés helyében. Válasszon másik mappát! Nem történt "
            u"mentés."_s.arg(bad));
        Edit1->setFocus();
        return;
    }
    if (!place.endsWith(QLatin1Char('/')))
        place += QLatin1Char('/');
    Edit1->setText(place);
    Button1->setEnabled(false);
    const auto &tables = maintenance::exportTables();
    for (int i = 0; i < tables.size(); ++i) {
        if (!CheckBoxes[i]->isChecked())
            continue;
        try {
            maintenance::exportTable(Data(), tables[i], place);
        } catch (const DbError &e) {
            // The server's message; what was written so far stays, the rest is not exported.
            ui::error(e.text());
            return;
        }
    }
    ui::confirm(u"Mentés vége. "_s);
    accept();
}

// ---- about and help ------------------------------------------------------------------------

QStringList TForm28::lines()
{
    return {u"ZELVANA"_s,
            u"2006-2009."_s,
            QString(),
            u"Földbérleti nyilvántartás és bérleti díj elszámolás"_s,
            u"Verzió: %1"_s.arg(QCoreApplication::applicationVersion().isEmpty()
                                    ? u"2.7"_s
                                    : QCoreApplication::applicationVersion()),
            QString(),
            u"Kapcsolat: a program gondozója, a telepítést végző rendszergazdán keresztül"_s,
            u"Súgó: \"Kilépés\" › \"Súgó\""_s};
}

TForm28::TForm28(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form28"_s);
    keys::centreWhenShown(this);
    setWindowTitle(u"Névjegy"_s);
    auto *outer = new QVBoxLayout(this);
    Memo1 = new QTextEdit(this);
    Memo1->setObjectName(u"Memo1"_s);
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(u"Névjegy"_s);
    for (const QString &l : lines()) {
        Memo1->append(l);
        Memo1->setAlignment(Qt::AlignHCenter);
    }
    Memo1->setMinimumSize(Memo1->fontMetrics().averageCharWidth() * 60, Memo1->fontMetrics().height() * 14);
    outer->addWidget(Memo1, 1);
    Button2 = button(this, u"Button2"_s, u"Mégsem"_s, u"Kilépés, ablak bezárás"_s);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(Button2);
    outer->addLayout(row);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

QString HelpViewer::folder()
{
    // The working folder's copy (script/run puts it there), else the installed program's.
    const QStringList candidates{QDir::current().filePath(u"help"_s),
                                 QCoreApplication::applicationDirPath() + u"/../share/zelvana/help"_s};
    for (const QString &c : candidates)
        if (QFileInfo::exists(c + u"/index.html"_s))
            return QDir::cleanPath(c);
    return QDir::current().filePath(u"help"_s);
}

namespace {
// The links of a page: (text, target) in the order they stand.
QList<std::pair<QString, QString>> links(const QString &file)
{
    QFile f(file);
    QList<std::pair<QString, QString>> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QString html = QString::fromUtf8(f.readAll());
    static const QRegularExpression re(u"<a\\s+href=\"([^\"#][^\"]*)\"[^>]*>(.*?)</a>"_s,
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QString label = m.captured(2);
        label.remove(QRegularExpression(u"<[^>]*>"_s));
        out.append({label.simplified(), m.captured(1)});
    }
    return out;
}
// The contents page as a tree: each heading a group, each list of links a level below the link
// that holds it. What stands after the page's closing rule (its footer) is no entry.
void fillContents(QTreeWidget *tree, const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QString html = QString::fromUtf8(f.readAll());
    static const QRegularExpression re(
        u"<h2[^>]*>(.*?)</h2>|<(/?)ul\\b[^>]*>|<a\\s+href=\"([^\"#][^\"]*)\"[^>]*>(.*?)</a>|<hr\\b"_s,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    auto plain = [](QString label) { return label.remove(QRegularExpression(u"<[^>]*>"_s)).simplified(); };
    QTreeWidgetItem *group = tree->invisibleRootItem();
    QList<QTreeWidgetItem *> levels; // the last entry of each list level
    int depth = 0;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(u"<hr"_s, Qt::CaseInsensitive))
            break;
        if (m.capturedLength(1) > 0) {
            group = new QTreeWidgetItem(tree, {plain(m.captured(1))});
            levels.clear();
            depth = 0;
        } else if (m.captured(0).startsWith(u"<ul"_s, Qt::CaseInsensitive)) {
            ++depth;
        } else if (m.captured(0).startsWith(u"</ul"_s, Qt::CaseInsensitive)) {
            depth = std::max(0, depth - 1);
        } else if (depth > 0) {
            QTreeWidgetItem *parent = depth - 2 >= 0 && depth - 2 < levels.size() ? levels[depth - 2] : group;
            auto *item = new QTreeWidgetItem(parent, {plain(m.captured(4))});
            item->setData(0, Qt::UserRole, m.captured(3));
            levels.resize(depth - 1);
            levels.append(item);
        }
    }
    tree->expandAll();
}
} // namespace

HelpViewer::HelpViewer(const QString &page, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"HelpViewer"_s);
    setWindowTitle(u"Zelvana súgó"_s);
    const QString dir = folder();
    auto *outer = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    backButton = button(this, u"backButton"_s, u"◀ Vissza"_s, u"Az előző oldal"_s);
    forwardButton = button(this, u"forwardButton"_s, u"Előre ▶"_s, u"A következő oldal"_s);
    auto *home = button(this, u"homeButton"_s, u"Tartalom"_s, u"A súgó tartalomjegyzéke"_s);
    row->addWidget(backButton);
    row->addWidget(forwardButton);
    row->addWidget(home);
    row->addStretch();
    outer->addLayout(row);
    auto *split = new QSplitter(this);
    auto *tabs = new QTabWidget(split);
    contents = new QTreeWidget(tabs);
    contents->setObjectName(u"contents"_s);
    contents->setHeaderHidden(true);
    index = new QListWidget(tabs);
    index->setObjectName(u"index"_s);
    tabs->addTab(contents, u"Tartalom"_s);
    tabs->addTab(index, u"Tárgymutató"_s);
    browser = new QTextBrowser(split);
    browser->setObjectName(u"browser"_s);
    browser->setSearchPaths({dir});
    browser->setOpenExternalLinks(false);
    split->addWidget(tabs);
    split->addWidget(browser);
    split->setStretchFactor(1, 3);
    split->setSizes({340, 640}); // the contents' titles whole
    outer->addWidget(split, 1);
    fillContents(contents, dir + u"/index.html"_s);
    for (const auto &[label, target] : links(dir + u"/kulcsszavak.html"_s)) {
        if (label == QLatin1String("Tartalom") || label == QLatin1String("Tárgymutató"))
            continue;
        auto *item = new QListWidgetItem(label, index);
        item->setData(Qt::UserRole, target);
    }
    auto go = [this](const QString &target) {
        if (!target.isEmpty()) // a heading of the contents is no page
            browser->setSource(QUrl(target));
    };
    connect(contents, &QTreeWidget::itemActivated, this,
            [go](QTreeWidgetItem *item) { go(item->data(0, Qt::UserRole).toString()); });
    connect(contents, &QTreeWidget::itemClicked, this,
            [go](QTreeWidgetItem *item) { go(item->data(0, Qt::UserRole).toString()); });
    connect(index, &QListWidget::itemActivated, this,
            [go](QListWidgetItem *item) { go(item->data(Qt::UserRole).toString()); });
    connect(index, &QListWidget::itemClicked, this,
            [go](QListWidgetItem *item) { go(item->data(Qt::UserRole).toString()); });
    connect(backButton, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(forwardButton, &QPushButton::clicked, browser, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, browser, &QTextBrowser::home);
    connect(browser, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardButton, &QPushButton::setEnabled);
    backButton->setEnabled(false);
    forwardButton->setEnabled(false);
    resize(980, 680);
    if (!QFileInfo::exists(dir + u"/"_s + page)) {
        ui::message(u"A súgó nem található: %1. Másolja a program súgóját (a \"help\" mappát) a program "
                    u"munkamappájába, vagy telepítse újra a programot."_s.arg(
                        QDir::toNativeSeparators(dir + u"/"_s + page)));
        return;
    }
    ok = true;
    browser->setSource(QUrl(page));
}

void maintenance::showHelp(const QString &page, QWidget *parent)
{
    HelpViewer viewer(page, parent);
    if (viewer.opened())
        ui::showModal(viewer);
}

QString maintenance::helpPageOfContext(int context)
{
    return context == 1 ? u"kifizetes.html"_s : u"index.html"_s;
}

TForm29::TForm29(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form29"_s);
    keys::centreWhenShown(this);
    setWindowTitle(u"Súgó"_s);
    auto *outer = new QVBoxLayout(this);
    Button1 = button(this, u"Button1"_s, u"Segítség"_s, u"A program súgója: tartalom és tárgymutató"_s);
    outer->addWidget(Button1);
    // Wide enough for its title.
    setFixedSize(qMax(sizeHint().width(), fontMetrics().averageCharWidth() * 36), sizeHint().height());
    connect(Button1, &QPushButton::clicked, this, &TForm29::Button1Click);
}

void TForm29::Button1Click()
{
    maintenance::showHelp(u"index.html"_s, this);
}

void TForm29::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const int context = qApp->property("helpContext").toInt();
    if (context > 0) {
        qApp->setProperty("helpContext", 0);
        // After the window is on screen: the help is a modal window of its own.
        QTimer::singleShot(0, this, [this, context] {
            maintenance::showHelp(maintenance::helpPageOfContext(context), this);
        });
    }
}

void maintenance::registerWindows()
{
    windows::registerWindow(u"TForm25"_s, [](QWidget *p) { return new TForm25(p); });
    windows::registerWindow(u"TForm26"_s, [](QWidget *p) { return new TForm26(p); });
    windows::registerWindow(u"TForm27"_s, [](QWidget *p) { return new TForm27(p); });
    windows::registerWindow(u"TForm28"_s, [](QWidget *p) { return new TForm28(p); });
    windows::registerWindow(u"TForm29"_s, [](QWidget *p) { return new TForm29(p); });
}
