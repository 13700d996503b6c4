#include "contracts/contracts.h"

#include "codetables/codetables.h"
#include "forms/controls.h"
#include "forms/dbwidgets.h"
#include "foundation/codes.h"
#include "foundation/formats.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/ui.h"
#include "foundation/windows.h"
#include "owners/owners.h"
#include "parcels/parcels.h"
#include "reports/printing.h"

#include <QDate>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kNewContract = u"Új haszonbérlet"_s;
const QString kNewItem = u"Új alrészlet"_s;
const QString kDateKeys = u"0123456789."_s;

QString today()
{
    return formats::formatDate(QDate::currentDate());
}

// Reads the items of a contract into ZQ20, in the order they were stored.
void readItems(const QString &contractCode)
{
    Query *q = Data().ZQ20;
    q->setSql({u"SELECT * "_s, u"  FROM alresz "_s, u"  WHERE aHkod = :p1 "_s, u"  ORDER BY IDa "_s});
    q->setText(u"p1"_s, contractCode);
    q->open();
}

bool hasCurrentRow(Query *q)
{
    return q->isOpen() && q->rowIndex() >= 0 && q->rowIndex() < q->rowCount();
}

void tint(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, color);
    w->setPalette(p);
}

using forms::button;

// ---- the contract list ----------------------------------------------------------------------

ListSpec contractListSpec()
{
    TData &d = Data();
    ListSpec s;
    s.caption = u"Haszonbérlet bevitel"_s;
    s.fixedSize = true;
    s.list = d.ZQ10;
    s.source = d.DQ10;
    s.gridColumns = {{u"hKod"_s, u"Kód"_s},         {u"hSzam"_s, u"Szerz.szám"_s},
                     {u"hNkod"_s, u"Névkód"_s},     {u"hTol"_s, u"Tól"_s},
                     {u"hIg"_s, u"Ig"_s},           {u"hKelt"_s, u"Kelt"_s},
                     {u"hMegj"_s, u"Megjegyzés"_s}, {u"IDh"_s, {}}};
    s.adata = {{u"Szerződésszám::"_s, {u"hSzam"_s}},
               {u"Névkódja::"_s, {u"hNkod"_s}},
               {u"Bérleti időtartam"_s, {u"hTol"_s, u"hIg"_s}, u"-"_s},
               {u"Kelt:"_s, {u"hKelt"_s}},
               {u"Megjegyzés:"_s, {u"hMegj"_s}},
               {u"ID:"_s, {u"IDh"_s}},
               {u"Hkod:"_s, {u"hKod"_s}}};
    const QString byContract = u"A lista, \"Szerződés\" szerint"_s;
    const QString select = u"SELECT * FROM haszn "_s;
    s.openingCaption = byContract;
    s.defaultLines = {select, u"         ORDER BY hSzam "_s};
    s.searchLabel = u"Szerződésszám:"_s;
    s.searchField = u"hSzam"_s;
    s.searchCaption = byContract;
    s.sorts = {{0, {select, u"         ORDER BY hKod "_s}, u"A lista, \"Kód\" szerint"_s},
               {1, {select, u"         ORDER BY hSzam "_s}, u"A lista, \"Szerződésszám\" szerint"_s},
               {2, {select, u"         ORDER BY hNKod "_s}, u"A lista, \"Névkód\" szerint"_s},
               {3, {select, u"         ORDER BY htol "_s}, u"A lista, \"Tól\" szerint"_s},
               {4, {select, u"         ORDER BY hig "_s}, u"A lista, \"Ig\" szerint"_s}};
    s.codeField = u"hKod"_s;
    s.codeValue = &mv().hasznCode;
    // No use check: a contract is deleted with its header alone (its items stay, for the
    // consistency check to list).
    s.countQuery = d.ZQ12;
    s.countLines = {u"SELECT count(*) AS db FROM haszn      "_s};
    s.deleteQuery = d.ZQ13;
    s.deleteLines = {u"DELETE FROM haszn      "_s, u"  WHERE hkod = :p1 "_s};
    s.deleteCodeField = u"hKod"_s;
    s.deletedMessage = u"A szerződéssor törlölve!"_s;
    s.deleteFailedMessage = u"Hiba: haszn DELETE törlésekor"_s;
    s.editMode = &mv().hasznEditMode;
    s.newModeText = kNewContract;
    s.changeModeText = u"Haszonbérlet módositás"_s;
    s.beforeChange = [] { mv().hasznEditCode = Data().ZQ10->fieldText(u"hKod"_s); };
    s.makeEditor = [](QWidget *p) { return new TForm16(p); };
    s.hintNew = u"Új tétel bevitele. Ablak nyitás"_s;
    s.hintChange = u"Kiválasztott sor módositása"_s;
    s.hintPrint = u"Teljes lista a szerződésekrőlről."_s;
    s.hintGrid = u"Rendezéshez klikk az oszlop fejrészre"_s;
    s.buttonOrder = {u"Button1"_s, u"Button2"_s, u"Button3"_s, u"Button4"_s, u"Button7"_s, u"Button5"_s};
    s.buttonTabOrder = {u"Button2"_s, u"Button3"_s, u"Button4"_s, u"Button7"_s, u"Button5"_s, u"Button1"_s};
    s.print = [] {
        contracts::preparePrint();
        printTemplate(u"haszn1.frf"_s, QPageLayout::Portrait);
    };
    return s;
}

// ---- the contract edit window ---------------------------------------------------------------

EditSpec contractEditSpec()
{
    TData &d = Data();
    using T = EditSpec::Type;
    using K = EditSpec::Check::Kind;
    EditSpec s;
    s.designCaption = u"Haszonbérleti szerződés bevitel"_s;
    s.fixedSize = true;
    s.boxes = {boxes::typed(u"Edit1"_s, u"Szerződésszám:"_s, u"hSzam"_s, 45),
               boxes::typed(u"Edit4"_s, u"Kelte"_s, u"hKelt"_s, 10, kDateKeys),
               boxes::typed(u"Edit2"_s, u"Szerződés"_s, u"hTol"_s, 10, kDateKeys),
               boxes::typed(u"Edit3"_s, u"-ig"_s, u"hIg"_s, 10, kDateKeys),
               boxes::typed(u"Edit5"_s, u"Megjegyzés"_s, u"hMegj"_s, 200),
               boxes::hidden(u"Edit6"_s, u"IDh"_s, 0, u"IDh"_s),
               boxes::hidden(u"Edit7"_s, u"hKod"_s, 5, u"hKod"_s),
               // The owner's code: that of the owner shown (ZQ30), not of the list row.
               boxes::hidden(u"Edit8"_s, {}, 5, u"Tulajdonos kódja"_s),
               boxes::shown(u"Edit9"_s, u"AK.filler"_s, {}), boxes::shown(u"Edit10"_s, u"Ha.m2"_s, {})};
    s.tabOrder = {u"Edit1"_s,   u"Edit4"_s,   u"Edit2"_s,   u"Edit3"_s,   u"Edit5"_s,   u"Button5"_s,
                  u"Button6"_s, u"Button1"_s, u"DBGrid1"_s, u"Button2"_s, u"Button3"_s, u"Button4"_s,
                  u"nbFirst"_s, u"nbPrior"_s, u"nbNext"_s,  u"nbLast"_s,  u"Edit9"_s,   u"Edit10"_s};
    s.okName = u"Button5"_s;
    s.cancelName = u"Button6"_s;
    s.idBox = u"Edit6"_s;
    s.codeBox = u"Edit7"_s;
    s.editMode = &mv().hasznEditMode;
    s.newModeText = kNewContract;
    s.codeValue = &mv().hasznCode;
    s.list = d.ZQ10;
    s.stmt = d.ZQ12;
    s.aux = d.ZQ13;
    s.table = u"haszn"_s;
    s.idColumn = u"IDh"_s;
    s.codeField = u"hKod"_s;
    // The header takes the code its items already carry.
    s.newCodeBox = u"Edit7"_s;
    s.insertLines = {u"INSERT INTO haszn ( hKod, hSzam, hNkod, hTol, hIg, hKelt, hMegj  ) "_s,
                     u"   VALUES        (   :p1,   :p2,   :p3,  :p4, :p5,   :p6,   :p7  ) "_s};
    const QList<EditSpec::Binding> fields{{u"p2"_s, u"Edit1"_s},          {u"p3"_s, u"Edit8"_s},
                                          {u"p4"_s, u"Edit2"_s, T::Date}, {u"p5"_s, u"Edit3"_s, T::Date},
                                          {u"p6"_s, u"Edit4"_s, T::Date}, {u"p7"_s, u"Edit5"_s}};
    s.insertBindings = QList<EditSpec::Binding>{{u"p1"_s, {}}} + fields;
    s.replaceLines = {u"REPLACE INTO haszn ( IDh, hKod, hSzam, hNkod, hTol, hIg, hKelt, hMegj  ) "_s,
                      u"   VALUES          ( :p0,  :p1,   :p2,   :p3,  :p4, :p5,   :p6,   :p7  ) "_s};
    s.replaceBindings = QList<EditSpec::Binding>{{u"p0"_s, u"Edit6"_s}, {u"p1"_s, u"Edit7"_s}} + fields;
    s.listLinesAfterSaving = {u"SELECT * FROM haszn "_s, u"         ORDER BY hKod "_s};
    s.checks = {{u"Edit1"_s, K::NotBlank, u"Üres szerződésszám!"_s},
                {u"Edit2"_s, K::NotBlank, u"Üres dátumtól!"_s},
                {u"Edit3"_s, K::NotBlank, u"Üres dátumig!"_s},
                {u"Edit4"_s, K::NotBlank, u"Üres kelt!"_s},
                {u"Edit8"_s, K::NotBlank, u"Üres tulajdonos!"_s, u"-"_s},
                {u"Edit2"_s, K::IsDate, u"Hibás dátum!"_s},
                {u"Edit3"_s, K::IsDate, u"Hibás dátum!"_s},
                {u"Edit4"_s, K::IsDate, u"Hibás dátum!"_s}};
    s.fillFailure = u"Hiba az haszn módosítás Edit-ben való megjelenitésekor!"_s;
    s.changeFailure = u"Hiba: Módositás, REPLACE-edit a haszn-ban "_s;
    s.insertFailure = u"Hiba: Újban, INSERT-append a haszn-ban "_s;
    s.otherFailure = u"Hiba az append vagy edit közben az haszn-ban!"_s;
    return s;
}

// ---- the item edit window -------------------------------------------------------------------

EditSpec itemEditSpec()
{
    TData &d = Data();
    using T = EditSpec::Type;
    using K = EditSpec::Check::Kind;
    EditSpec s;
    s.designCaption = u"Szerződés alrészlet bevitel"_s;
    s.fixedSize = true;
    EditSpec::Box ak = boxes::typed(u"Edit1"_s, u"AK"_s, u"aAK"_s, 0, u"0123456789,."_s);
    ak.initial = u"0"_s;
    EditSpec::Box ha = boxes::typed(u"Edit2"_s, u"Ha.m2"_s, u"aHA"_s, 0, u"0123456789,"_s);
    ha.initial = u"0"_s;
    const QStringList yesNo{u"Igen"_s, u"Nem"_s};
    s.boxes = {
        ak,
        ha,
        boxes::typed(u"Edit3"_s, u"Rögzités kelte:"_s, u"aDatum"_s, 10, kDateKeys),
        boxes::choice(u"ComboBox1"_s, u"Bérleti jog"_s, u"aJog"_s,
                      {u" "_s, u"Bánya"_s, u"Bérlet"_s, u"Egyéb"_s, u"Kárpótlási terület"_s, u"Külterület"_s,
                       u"Részarány"_s, u"Természetvédelmi terület"_s, u"Saját tulajdon"_s},
                      u"Bérlet"_s),
        boxes::choice(u"ComboBox2"_s, u"Teljes?"_s, u"aTeljes"_s, yesNo, u"Igen"_s, 5),
        boxes::choice(u"ComboBox3"_s, u"Vázlat?"_s, u"aVazlat"_s, yesNo, u"Igen"_s, 5),
        boxes::typed(u"Edit4"_s, u"Megjegyzés"_s, u"aSzoveg"_s, 200),
        boxes::shown(u"Edit5"_s, u"IDa"_s, u"IDa"_s),
        boxes::shown(u"Edit6"_s, u"aKod"_s, u"aKod"_s),
        boxes::shown(u"Edit7"_s, u"aHkod"_s, u"aHkod"_s),
        boxes::hidden(u"Edit8"_s, u"aTkod"_s, 8, u"Tábla kódja"_s),
        boxes::hidden(u"Edit9"_s, u"aMkod"_s, 5, u"Művelési ág kódja"_s)};
    s.tabOrder = {u"Button1"_s, u"Button2"_s,   u"Edit1"_s,     u"Edit2"_s,     u"Edit3"_s,
                  u"Edit4"_s,   u"ComboBox1"_s, u"ComboBox2"_s, u"ComboBox3"_s, u"Button5"_s,
                  u"Button6"_s, u"Edit5"_s,     u"Edit6"_s,     u"Edit7"_s};
    s.okName = u"Button5"_s;
    s.cancelName = u"Button6"_s;
    s.idBox = u"Edit5"_s;
    s.codeBox = u"Edit6"_s;
    s.newCodeShownIn = u"Edit6"_s;
    s.editMode = &mv().alreszEditMode;
    s.newModeText = kNewItem;
    s.codeValue = &mv().alreszCode;
    s.list = d.ZQ20;
    s.stmt = d.ZQ22;
    s.aux = d.ZQ23;
    s.table = u"alresz"_s;
    s.idColumn = u"IDa"_s;
    s.codeField = u"aKod"_s;
    s.insertLines = {u"INSERT INTO alresz (  aKod, aTkod, aHkod, aMkod, aAK, aHA, aDatum, aJog, aTeljes, "
                     "aVazlat, aSzoveg   ) "_s,
                     u"   VALUES        (   :p1,     :p2,   :p3,   :p4, :p5, :p6,    :p7,  :p8,     :p9,    "
                     ":p10,    :p11   ) "_s};
    // The parcel and branch stored are those the window shows (Edit8, Edit9: from the item or from
    // the last pick), never whatever row the parcel and branch lists happen to stand on.
    const QList<EditSpec::Binding> fields{{u"p2"_s, u"Edit8"_s},
                                          {u"p3"_s, u"Edit7"_s},
                                          {u"p4"_s, u"Edit9"_s},
                                          {u"p5"_s, u"Edit1"_s, T::CommaNumber},
                                          {u"p6"_s, u"Edit2"_s, T::CommaNumber},
                                          {u"p7"_s, u"Edit3"_s, T::Date},
                                          {u"p8"_s, u"ComboBox1"_s},
                                          {u"p9"_s, u"ComboBox2"_s},
                                          {u"p10"_s, u"ComboBox3"_s},
                                          {u"p11"_s, u"Edit4"_s}};
    s.insertBindings = QList<EditSpec::Binding>{{u"p1"_s, {}}} + fields;
    s.replaceLines = {
        u"REPLACE INTO alresz ( IDa, aKod, aTkod, aHkod, aMkod, aAK, aHA, aDatum, aJog, aTeljes, "
        "aVazlat, aSzoveg  ) "_s,
        u"   VALUES          (  :p0,  :p1,   :p2,   :p3,   :p4, :p5, :p6,    :p7,  :p8,     :p9,  "
        "  :p10,    :p11  ) "_s};
    s.replaceBindings = QList<EditSpec::Binding>{{u"p0"_s, u"Edit5"_s}, {u"p1"_s, u"Edit6"_s}} + fields;
    s.listLinesAfterSaving = {u"SELECT * FROM alresz "_s, u"  WHERE aHkod = :p1 "_s,
                              u"         ORDER BY aKod "_s};
    s.listBindings = {{u"p1"_s, u"Edit7"_s}};
    s.checks = {{u"Edit8"_s, K::NotBlank, u"Nincs tábla kiválasztva!"_s, u"Button1"_s},
                {u"Edit9"_s, K::NotBlank, u"Nincs műv.ág kiválasztva!"_s, u"Button2"_s},
                {u"Edit3"_s, K::NotBlank, u"Üres kelt!"_s},
                {u"Edit1"_s, K::NotBlank, u"Üres AK!"_s},
                {u"Edit2"_s, K::NotBlank, u"Üres Ha.m2!"_s},
                {u"Edit3"_s, K::IsDate, u"Hibás dátum!"_s}};
    s.fillFailure = u"Hiba az alresz módosítás Edit-ben való megjelenitésekor!"_s;
    s.changeFailure = u"Hiba: Módositás, REPLACE-edit a alresz-ban "_s;
    s.insertFailure = u"Hiba: Újban, INSERT-append a alresz-ban "_s;
    s.otherFailure = u"Hiba az append vagy edit közben az alresz-ban!"_s;
    return s;
}

} // namespace

TForm15::TForm15(QWidget *parent)
    : ListWindow(contractListSpec(), parent)
{
    setObjectName(u"Form15"_s);
    DBGrid1->setMinimumWidth(DBGrid1->fontMetrics().averageCharWidth() * 100);
}

TForm16::TForm16(QWidget *parent)
    : EditWindow(contractEditSpec(), parent)
{
    setObjectName(u"Form16"_s);
    TData &d = Data();
    // The lease period on one row: "Szerződés [from] -tól [to] -ig".
    QLineEdit *from = box(u"Edit2"_s), *to = box(u"Edit3"_s);
    delete takeFromForm(from);
    delete takeFromForm(to);
    auto *period = new QHBoxLayout;
    auto *tol = new QLabel(u"-tól"_s, this);
    auto *ig = new QLabel(u"-ig"_s, this);
    ig->setBuddy(to);
    period->addWidget(from);
    period->addWidget(tol);
    period->addWidget(to);
    period->addWidget(ig);
    period->addStretch();
    auto *periodLabel = new QLabel(u"Szerződés"_s, this);
    periodLabel->setBuddy(from);
    form->insertRow(2, periodLabel, period);
    for (QLineEdit *e : {from, to, box(u"Edit4"_s)})
        e->setMaximumWidth(e->fontMetrics().averageCharWidth() * 14);

    // The owner: the current row of the owner list, with the button that picks it.
    int fieldNo = 0;
    GroupBox1 = adataGroup(d.DQ30,
                           {{u"ID:"_s, {u"IDn"_s}},
                            {u"Kód:"_s, {u"nKod"_s}},
                            {u"Tulajdonos neve:"_s, {u"nNev"_s}},
                            {u"Születési dátuma:"_s, {u"nSzido"_s}},
                            {u"Anyja neve:"_s, {u"nAnyja"_s}},
                            {u"L.név:"_s, {u"nLnev"_s}},
                            {u"Cime:"_s, {u"nIrszam"_s, u"nHely"_s, u"nUtca"_s}},
                            {u"Adóazonositó: "_s, {u"nAdoazon"_s}}},
                           this, &fieldNo);
    GroupBox1->setObjectName(u"GroupBox1"_s);
    Button1 = button(GroupBox1, u"Button1"_s, u"Tulajdonos"_s, u"Választó ablak megnyitása. és kiválsztás"_s);
    static_cast<QGridLayout *>(GroupBox1->layout())->addWidget(Button1, 4, 0, Qt::AlignLeft);
    connect(Button1, &QPushButton::clicked, this, &TForm16::Button1Click);
    addSection(GroupBox1);

    // The items of the contract, with their buttons, navigator and totals.
    DBGrid1 = new DbGrid(d.DQ20, u"DBGrid1"_s, this);
    DBGrid1->setAccessibleName(u"Alrészletek"_s);
    DBGrid1->setStretchColumn(11); // the remark, the last of the item's columns
    DBGrid1->setMinimumHeight(DBGrid1->verticalHeader()->defaultSectionSize() * 8);
    DBGrid1->setMinimumWidth(DBGrid1->fontMetrics().averageCharWidth() * 110);
    addSection(DBGrid1);
    auto *itemsRow = new QHBoxLayout;
    DBNavigator1 = new DbNavigator(d.DQ20, u"DBNavigator1"_s, this);
    itemsRow->addWidget(DBNavigator1);
    Button2 = button(this, u"Button2"_s, u"Új"_s, u"Új sor a szerződéshez. Ablak nyitás"_s);
    Button3 = button(this, u"Button3"_s, u"Módosít"_s, u"Kiválasztott sor módositása"_s);
    Button4 = button(this, u"Button4"_s, u"Töröl"_s, u"Kiválasztott sort törli"_s);
    connect(Button2, &QPushButton::clicked, this, &TForm16::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm16::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm16::Button4Click);
    for (QPushButton *b : {Button2, Button3, Button4})
        itemsRow->addWidget(b);
    itemsRow->addStretch();
    const std::pair<QString, QString> totals[] = {{u"Edit9"_s, u"AK.filler"_s}, {u"Edit10"_s, u"Ha.m2"_s}};
    for (const auto &[name, caption] : totals) {
        QLineEdit *total = box(name);
        delete takeFromForm(total);
        auto *label = new QLabel(caption, this);
        label->setBuddy(total);
        total->setAlignment(Qt::AlignRight);
        total->setFocusPolicy(Qt::TabFocus);
        total->setMinimumWidth(total->fontMetrics().averageCharWidth() * 16);
        total->setMaximumWidth(total->fontMetrics().averageCharWidth() * 18);
        itemsRow->addWidget(label);
        itemsRow->addWidget(total);
    }
    addSection(itemsRow);
    finishLayout();
}

void TForm16::fillMore()
{
    TData &d = Data();
    d.ZQ30->setSql({u"SELECT * FROM tulaj      "_s, u"  WHERE nkod = :p1 "_s});
    d.ZQ30->setText(u"p1"_s, d.ZQ10->fieldText(u"hNkod"_s));
    d.ZQ30->open();
    box(u"Edit8"_s)->setText(d.ZQ30->fieldText(u"nKod"_s));
    d.ZQ20->setSql({u"SELECT * FROM alresz      "_s, u"  WHERE aHkod = :p1 "_s});
    d.ZQ20->setText(u"p1"_s, d.ZQ10->fieldText(u"hKod"_s));
    d.ZQ20->open();
}

void TForm16::showMore()
{
    TData &d = Data();
    if (!isNewMode()) {
        readItems(mv().hasznEditCode);
    } else {
        // The code is worked out now: the items are stored under it before the header exists.
        box(u"Edit7"_s)->setText(nextCode(*d.ZQ13, u"haszn"_s, u"hKod"_s));
        try {
            // Items left under this code by an abandoned new contract (or by a deleted contract
            // that had it) are not this contract's.
            d.ZQ23->setSql({u"DELETE FROM alresz  "_s, u"  WHERE aHkod = :p1 "_s});
            d.ZQ23->setText(u"p1"_s, box(u"Edit7"_s)->text());
            d.ZQ23->execSql();
        } catch (const std::exception &) {
            ui::message(u"Hiba: alresz DELETE törlése mert nem volt haszn fejrésze "_s);
        }
        d.ZQ30->close();
        box(u"Edit8"_s)->clear();
        for (const char *name : {"Edit2", "Edit3", "Edit4"})
            box(QString::fromLatin1(name))->setText(today());
        d.ZQ20->setSql({u"SELECT *           "_s, u"  FROM alresz      "_s, u"  WHERE aHkod = \"\" "_s});
        d.ZQ20->open();
    }
    Totals();
}

void TForm16::Totals()
{
    Query *q = Data().ZQ22;
    q->setSql({u"SELECT ahKod, aAK, aHA, SUM(aAK) AS s_AK, SUM(aHA) AS s_HA "_s, u"  FROM Alresz         "_s,
               u"  WHERE ahKod = :p1 "_s, u"  GROUP BY ahKod   "_s});
    q->setText(u"p1"_s, box(u"Edit7"_s)->text());
    q->open();
    // No item: no row, and the sums read as 0.
    box(u"Edit9"_s)->setText(formats::formatGrouped(q->fieldNumber(u"s_AK"_s), 2));
    box(u"Edit10"_s)->setText(formats::formatGrouped(q->fieldNumber(u"s_HA"_s), 4));
}

bool TForm16::checkMore()
{
    Query *q = Data().ZQ23;
    q->setSql({u"SELECT  aKod, count(aKod) AS adb "_s, u"  FROM alresz       "_s, u"  WHERE aHkod = :p1 "_s,
               u"  GROUP BY aHkod    "_s});
    q->setText(u"p1"_s, box(u"Edit7"_s)->text());
    q->open();
    if (q->fieldInt(u"adb"_s) == 0) {
        ui::message(u"Nincs szerződésnek tételsora!"_s);
        Button2->setFocus();
        return false;
    }
    return true;
}

void TForm16::Button1Click()
{
    pickFrom<TForm3>(this);
    // Whichever way the owner list was closed, its current row is the owner.
    box(u"Edit8"_s)->setText(Data().ZQ30->fieldText(u"nKod"_s));
}

void TForm16::Button2Click()
{
    mv().alreszEditMode = kNewItem;
    {
        TForm17 item(box(u"Edit7"_s)->text(), this);
        ui::showModal(item);
    }
    readItems(box(u"Edit7"_s)->text());
    Totals();
}

void TForm16::Button3Click()
{
    // A new contract starts with no item: there is nothing to change then.
    if (!hasCurrentRow(Data().ZQ20))
        return;
    mv().alreszEditMode = u"Alrészlet módosítás"_s;
    {
        TForm17 item(box(u"Edit7"_s)->text(), this);
        if (item.fill())
            ui::showModal(item);
    }
    Totals();
}

void TForm16::Button4Click()
{
    TData &d = Data();
    // Nothing to delete without a current item (no statement is sent, no message shown).
    if (!hasCurrentRow(d.ZQ20))
        return;
    d.ZQ22->setSql({u"SELECT count(*) AS db FROM alresz      "_s});
    d.ZQ22->open();
    if (d.ZQ22->fieldInt(u"db"_s) < 2) {
        ui::message(u"Egy sornak maradni kell, nem törölhető ki."_s);
    } else {
        try {
            d.ZQ23->setSql({u"DELETE FROM alresz      "_s, u"  WHERE akod = :p1 "_s});
            d.ZQ23->setText(u"p1"_s, d.ZQ20->fieldText(u"aKod"_s));
            d.ZQ23->execSql();
            ui::message(u"A alrészlet sor törlölve!"_s);
            d.ZQ20->refresh();
        } catch (const std::exception &) {
            ui::message(u"Hiba: alresz DELETE törlésekor"_s);
        }
    }
    Totals();
}

TForm17::TForm17(const QString &contractCode, QWidget *parent)
    : EditWindow(itemEditSpec(), parent)
    , contract(contractCode)
{
    setObjectName(u"Form17"_s);
    TData &d = Data();
    for (const char *name : {"Edit5", "Edit6", "Edit7"})
        tint(box(QString::fromLatin1(name)), QColor(0xC0, 0xC0, 0xC0));
    for (const char *name : {"Edit1", "Edit2", "Edit3"})
        box(QString::fromLatin1(name))
            ->setMaximumWidth(box(u"Edit1"_s)->fontMetrics().averageCharWidth() * 16);

    // The parcel and the branch: the current rows of their lists, each with its pick button.
    int fieldNo = 0;
    GroupBox1 = adataGroup(d.DQ40,
                           {{u"ID:"_s, {u"IDt"_s}},
                            {u"Kód:"_s, {u"tKod"_s}},
                            {u"Hrsz:"_s, {u"tHrsz"_s}},
                            {u"Táblanév:"_s, {u"tTabla"_s}},
                            {u"Megnevezés:"_s, {u"tMegnev"_s}},
                            {u"AK:"_s, {u"tAK"_s}},
                            {u"Ha,m2:"_s, {u"tHA"_s}}},
                           this, &fieldNo);
    GroupBox1->setObjectName(u"GroupBox1"_s);
    GroupBox2 = adataGroup(d.DQ50,
                           {{u"ID:"_s, {u"IDm"_s}},
                            {u"Kód:"_s, {u"mKod"_s}},
                            {u"Művelési ág:"_s, {u"mMuvag"_s}},
                            {u"Minőségi o.:"_s, {u"mMino"_s}},
                            {u"Bérleti dij:"_s, {u"mDij"_s}}},
                           this, &fieldNo);
    GroupBox2->setObjectName(u"GroupBox2"_s);
    const QString hint = u"Választó ablak nyitás és választás"_s;
    Button1 = button(GroupBox1, u"Button1"_s, u"Hrsz"_s, hint);
    Button2 = button(GroupBox2, u"Button2"_s, u"Műv.ág"_s, hint);
    static_cast<QGridLayout *>(GroupBox1->layout())->addWidget(Button1, 4, 2, Qt::AlignRight);
    static_cast<QGridLayout *>(GroupBox2->layout())->addWidget(Button2, 3, 2, Qt::AlignRight);
    connect(Button1, &QPushButton::clicked, this, &TForm17::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm17::Button2Click);
    // The groups stand above the boxes.
    auto *groups = new QWidget(this);
    auto *column = new QVBoxLayout(groups);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(GroupBox1);
    column->addWidget(GroupBox2);
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, groups);
    finishLayout();
}

void TForm17::fillMore()
{
    TData &d = Data();
    d.ZQ40->setSql({u"SELECT * FROM tabla      "_s, u"  WHERE tkod = :p1 "_s});
    d.ZQ40->setText(u"p1"_s, d.ZQ20->fieldText(u"aTkod"_s));
    d.ZQ40->open();
    d.ZQ50->setSql({u"SELECT * FROM muvag      "_s, u"  WHERE mkod = :p1 "_s});
    d.ZQ50->setText(u"p1"_s, d.ZQ20->fieldText(u"aMkod"_s));
    d.ZQ50->open();
}

void TForm17::showMore()
{
    setWindowTitle(mv().alreszEditMode);
    if (isNewMode()) {
        box(u"Edit7"_s)->setText(contract);
        box(u"Edit3"_s)->setText(today());
        Data().ZQ40->close();
        Data().ZQ50->close();
    }
}

void TForm17::Button1Click()
{
    pickFrom<TForm13>(this);
    box(u"Edit8"_s)->setText(Data().ZQ40->fieldText(u"tKod"_s));
}

void TForm17::Button2Click()
{
    pickFrom<TForm5>(this);
    box(u"Edit9"_s)->setText(Data().ZQ50->fieldText(u"mKod"_s));
}

void contracts::preparePrint()
{
    TData &d = Data();
    // 1. The grand totals, over every item.
    d.ZQ13->setSql({u"SELECT SUM(aAK) AS m_AK, SUM(aHA) AS m_HA  "_s, u"  FROM alresz  "_s});
    d.ZQ13->open();
    d.variables.set(u"v_mAK"_s, d.ZQ13->fieldNumber(u"m_AK"_s));
    d.variables.set(u"v_mHA"_s, d.ZQ13->fieldNumber(u"m_HA"_s));
    // 2. One row per contract (by code: two contracts may share a free-text number), by number.
    d.ZQ13->setSql({u"SELECT *  "_s, u"  FROM haszn  "_s, u"  JOIN alresz ON alresz.aHkod = haszn.hKod "_s,
                    u"  JOIN tulaj  ON tulaj.nKod   = hNkod "_s, u"  JOIN tabla  ON tabla.tKod   = aTkod "_s,
                    u"  JOIN varos  ON varos.vKod   = tVkod "_s, u"  GROUP BY hKod "_s,
                    u"  ORDER BY hSzam, hKod "_s});
    d.ZQ13->open();
    const QString first = d.ZQ13->fieldText(u"hKod"_s);
    // 3. and 4. The first contract's items and their totals; the next contracts' come from the
    // callbacks of the contracts' report dataset.
    d.ZQ12->setSql({u"SELECT *  "_s, u"  FROM alresz  "_s, u"  JOIN muvag  ON muvag.mKod   = aMkod "_s,
                    u"  JOIN tabla  ON tabla.tKod   = aTkod "_s, u"  JOIN varos  ON varos.vKod   = tVkod "_s,
                    u"  WHERE aHkod = :p0 "_s});
    d.ZQ12->setText(u"p0"_s, first);
    d.ZQ12->open();
    d.ZQ11->setSql({u"SELECT SUM(aAK) AS sum_AK, SUM(aHA) AS sum_HA  "_s, u"  FROM alresz  "_s,
                    u"  JOIN muvag  ON muvag.mKod   = aMkod "_s, u"  JOIN tabla  ON tabla.tKod   = aTkod "_s,
                    u"  JOIN varos  ON varos.vKod   = tVkod "_s, u"  WHERE aHkod = :p0 "_s,
                    u"  GROUP BY aHkod "_s});
    d.ZQ11->setText(u"p0"_s, first);
    d.ZQ11->open();
}

void contracts::registerWindows()
{
    windows::registerWindow(u"TForm15"_s, [](QWidget *p) { return new TForm15(p); });
}
