#include "parcels/parcels.h"

#include "forms/dbwidgets.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/ui.h"
#include "foundation/windows.h"
#include "reports/printing.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QStringList nameOrderLines()
{
    return {u"SELECT * FROM tabla "_s, u"         ORDER BY tHrsz "_s};
}

QStringList usageLines()
{
    return {u"SELECT aTkod, count(aTKod) as db "_s, u"  FROM  alresz     "_s, u"  WHERE (aTkod = :p1) "_s,
            u"  GROUP BY aTkod      "_s};
}

ListSpec parcelListSpec()
{
    TData &d = Data();
    ListSpec s;
    s.caption = u"Helyrajziszám bevitel"_s;
    s.fixedSize = true;
    s.enterMovesFocus = false; // this list has no key handling of its own
    s.list = d.ZQ40;
    s.source = d.DQ40;
    s.gridColumns = {{u"tKod"_s, u"Kód"_s},
                     {u"tHrsz"_s, u"Helyrajziszám"_s},
                     {u"tMegnev"_s, u"Megnevezés"_s},
                     {u"tTabla"_s, u"Tábla"_s},
                     {u"tMkod"_s, u"Müv.ág kód"_s},
                     {u"tAK"_s, u"AK,fillér"_s},
                     {u"tHA"_s, u"HA, m2"_s},
                     {u"tUkod"_s, u"Túl.kód"_s},
                     {u"tVkod"_s, u"Városkód"_s},
                     {u"tFkod"_s, u"Fekvéskód"_s},
                     {u"IDt"_s, {}}};
    s.adata = {
        {u"ID:"_s, {u"IDt"_s}},          {u"Kód:"_s, {u"tKod"_s}},           {u"Hrsz:"_s, {u"tHrsz"_s}},
        {u"Táblanév:"_s, {u"tTabla"_s}}, {u"Megnevezés:"_s, {u"tMegnev"_s}}, {u"AK:"_s, {u"tAK"_s}},
        {u"Ha,m2:"_s, {u"tHA"_s}}};

    const QString byHrsz = u"A lista, \"Hrsz\" szerint"_s;
    s.openingCaption = byHrsz;
    s.defaultLines = nameOrderLines();
    s.searchLabel = u"Hrsz:"_s;
    s.searchField = u"tHrsz"_s;
    s.searchCaption = byHrsz;
    const QString select = u"SELECT * FROM tabla "_s;
    s.sorts = {{0, {select, u"         ORDER BY tKod "_s}, u"A lista, \"Kód\" szerint"_s},
               {1, {select, u"         ORDER BY tHrsz,tVkod "_s}, u"A lista, \"Helyrajziszám\" szerint"_s},
               {8, {select, u"         ORDER BY tVkod, tHrsz "_s}, u"A lista, \"Település\" szerint"_s}};
    s.codeField = u"tKod"_s;
    s.codeValue = &mv().tablaCode;

    // A parcel is in use when a contract item leases a part of it.
    s.usageQuery = d.ZQ43;
    s.usesOnChange = {{usageLines(), u"tKod"_s, u"A hrsz már használatban van ! Javitja ?"_s}};
    s.usesOnDelete = {{usageLines(), u"tKod"_s, u"A hrsz már szerepel a haszonbérleti nyilvántartásban !"_s}};
    s.countQuery = d.ZQ42;
    s.countLines = {u"SELECT count(*) AS db FROM tabla      "_s};
    s.deleteQuery = d.ZQ43;
    s.deleteLines = {u"DELETE FROM tabla      "_s, u"  WHERE tkod = :p1 "_s};
    s.deleteCodeField = u"tKod"_s;
    s.deletedMessage = u"A hrsz törlölve!"_s;
    s.deleteFailedMessage = u"Hiba: tabla DELETE törlésekor"_s;

    s.editMode = &mv().tablaEditMode;
    s.newModeText = u"Új helyrajziszám"_s;
    s.changeModeText = u"Helyrajziszám módositás"_s;
    s.makeEditor = [](QWidget *p) { return new TForm14(p); };

    s.hintNew = u"Új helyrajziszám. Ablak nyitás"_s;
    s.hintChange = u"Kiválasztott sor módositása"_s;
    s.hintPrint = u"Teljes lista a helyrajziszámokról"_s;
    s.buttonOrder = {u"Button1"_s, u"Button2"_s, u"Button3"_s, u"Button4"_s, u"Button7"_s, u"Button5"_s};
    s.buttonTabOrder = {u"Button2"_s, u"Button3"_s, u"Button4"_s, u"Button7"_s, u"Button5"_s, u"Button1"_s};
    s.print = [] {
        parcels::preparePrint();
        printTemplate(u"tabla.frf"_s, QPageLayout::Portrait);
    };
    return s;
}

EditSpec parcelEditSpec()
{
    TData &d = Data();
    using T = EditSpec::Type;
    EditSpec s;
    s.designCaption = u"Helyrajziszám bevitel"_s;
    s.fixedSize = true;
    s.enterMovesFocus = true;
    // Each box takes at most its column's width. The name boxes of the picks feed no column; the
    // code boxes beside them feed the four code columns.
    s.boxes = {boxes::typed(u"Edit1"_s, u"Hrsz:"_s, u"tHrsz"_s, 25),
               boxes::typed(u"Edit2"_s, u"Táblanév"_s, u"tTabla"_s, 25),
               boxes::typed(u"Edit3"_s, u"Megnevezés"_s, u"tMegnev"_s, 25),
               boxes::number(u"Edit4"_s, u"AK:"_s, u"tAK"_s),
               boxes::number(u"Edit5"_s, u"Ha,m2:"_s, u"tHA"_s),
               boxes::shown(u"Edit6"_s, {}, {}, 45, u"Műv.ág"_s),
               boxes::shown(u"Edit12"_s, {}, u"tMkod"_s, 5, u"Műv.ág kód"_s),
               boxes::shown(u"Edit7"_s, {}, {}, 45, u"Helységnév"_s),
               boxes::shown(u"Edit13"_s, {}, u"tVkod"_s, 5, u"Helységnév kód"_s),
               boxes::shown(u"Edit8"_s, {}, {}, 45, u"Tul.forma"_s),
               boxes::shown(u"Edit14"_s, {}, u"tUkod"_s, 5, u"Tul.forma kód"_s),
               boxes::shown(u"Edit9"_s, {}, {}, 45, u"Fekvés"_s),
               boxes::shown(u"Edit15"_s, {}, u"tFkod"_s, 5, u"Fekvés kód"_s),
               boxes::hidden(u"Edit10"_s, u"IDt"_s, 0, u"IDt"_s),
               boxes::hidden(u"Edit11"_s, u"tKod"_s, 8, u"Tkod"_s)};
    s.tabOrder = {u"Edit1"_s,   u"Edit2"_s,   u"Edit3"_s,   u"Edit4"_s,   u"Edit5"_s,
                  u"Button1"_s, u"Button2"_s, u"Button3"_s, u"Button4"_s, u"Edit6"_s,
                  u"Edit7"_s,   u"Edit8"_s,   u"Edit9"_s,   u"Button5"_s, u"Button6"_s,
                  u"Edit12"_s,  u"Edit13"_s,  u"Edit14"_s,  u"Edit15"_s};
    s.okName = u"Button5"_s;
    s.cancelName = u"Button6"_s;
    s.idBox = u"Edit10"_s;
    s.codeBox = u"Edit11"_s;
    s.editMode = &mv().tablaEditMode;
    s.newModeText = u"Új helyrajziszám"_s;
    s.codeValue = &mv().tablaCode;
    s.list = d.ZQ40;
    s.stmt = d.ZQ42;
    s.aux = d.ZQ43;
    s.codeField = u"tKod"_s;
    s.insertLines = {u"INSERT INTO tabla ( tKod, tHrsz, tTabla, tMegnev, tAK, tHa, tMkod, tVkod, tUkod, "
                     "TfKod   ) "_s,
                     u"   VALUES        (   :p1,   :p2,    :p3,     :p4, :p5, :p6,   :p7,   :p8,   :p9,  "
                     ":p10   ) "_s};
    s.insertBindings = {{u"p1"_s, {}},
                        {u"p2"_s, u"Edit1"_s},
                        {u"p3"_s, u"Edit2"_s},
                        {u"p4"_s, u"Edit3"_s},
                        {u"p5"_s, u"Edit4"_s, T::Number},
                        {u"p6"_s, u"Edit5"_s, T::Number},
                        {u"p7"_s, u"Edit12"_s},
                        {u"p8"_s, u"Edit13"_s},
                        {u"p9"_s, u"Edit14"_s},
                        {u"p10"_s, u"Edit15"_s}};
    // The REPLACE re-creates the row: the cultivated gold crowns and area, which this window neither
    // shows nor writes, are carried over with their stored values instead of falling back to NULL.
    s.replaceLines = {
        u"REPLACE INTO tabla ( IDt, tKod, tHrsz, tTabla, tMegnev, tAK, tHa, tMkod, tVkod, tUkod, "
        "TfKod, tMuvAK, tMuvHA  ) "_s,
        u"   VALUES          (  :p0,  :p1,   :p2,    :p3,     :p4, :p5, :p6,   :p7,   :p8,   "
        ":p9,  :p10, :p12, :p13  ) "_s};
    s.replaceBindings = {{u"p0"_s, u"Edit10"_s},
                         {u"p1"_s, u"Edit11"_s},
                         {u"p2"_s, u"Edit1"_s},
                         {u"p3"_s, u"Edit2"_s},
                         {u"p4"_s, u"Edit3"_s},
                         {u"p5"_s, u"Edit4"_s, T::Number},
                         {u"p6"_s, u"Edit5"_s, T::Number},
                         {u"p7"_s, u"Edit12"_s},
                         {u"p8"_s, u"Edit13"_s},
                         {u"p9"_s, u"Edit14"_s},
                         {u"p10"_s, u"Edit15"_s}};
    s.table = u"tabla"_s;
    s.idColumn = u"IDt"_s;
    s.carried = {{u"tMuvAK"_s, u"p12"_s, T::Number}, {u"tMuvHA"_s, u"p13"_s, T::Number}};
    s.listLinesAfterSaving = nameOrderLines();
    // The checks look at the name boxes of the picks, not at their code boxes.
    using K = EditSpec::Check::Kind;
    s.checks = {{u"Edit1"_s, K::NotBlank, u"Üres helyrajziszám!"_s},
                {u"Edit4"_s, K::NotBlank, u"Üres AK!"_s},
                {u"Edit5"_s, K::NotBlank, u"Üres Ha,m2!"_s},
                {u"Edit6"_s, K::NotBlank, u"Üres műv.ág !"_s},
                {u"Edit7"_s, K::NotBlank, u"Üres helységnév kódja!"_s},
                {u"Edit8"_s, K::NotBlank, u"Üres tulajdonforma kódja!"_s},
                {u"Edit9"_s, K::NotBlank, u"Üres fekvés kódja!"_s}};
    s.fillFailure = u"Hiba az tábla módosítás Edit-ben való megjelenitésekor!"_s;
    s.changeFailure = u"Hiba: Módisitás, REPLACE-edit a tabla-ban "_s;
    s.insertFailure = u"Hiba: Újban, INSERT-append a tabla-ban "_s;
    s.otherFailure = u"Hiba az append vagy edit közben az tabla-ban!"_s;
    return s;
}

void tint(QLineEdit *box, const QColor &color)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, color);
    box->setPalette(p);
}

} // namespace

TForm13::TForm13(QWidget *parent)
    : ListWindow(parcelListSpec(), parent)
{
    setObjectName(u"Form13"_s);
    // Eleven columns: a wider grid than the code tables'.
    DBGrid1->setMinimumWidth(DBGrid1->fontMetrics().averageCharWidth() * 115);
}

TForm14::TForm14(QWidget *parent)
    : EditWindow(parcelEditSpec(), parent)
{
    setObjectName(u"Form14"_s);
    // Each pick row: the button that opens the list as the row's label, the read-only name box and
    // the read-only code box beside it.
    struct Pick
    {
        QPushButton *&button;
        const char *name, *caption, *nameBox, *codeBox;
        void (TForm14::*handler)();
    };
    const Pick picks[] = {{Button1, "Button1", "Műv.ág", "Edit6", "Edit12", &TForm14::Button1Click},
                          {Button2, "Button2", "Helységnév", "Edit7", "Edit13", &TForm14::Button2Click},
                          {Button3, "Button3", "Tul.forma", "Edit8", "Edit14", &TForm14::Button3Click},
                          {Button4, "Button4", "Fekvés", "Edit9", "Edit15", &TForm14::Button4Click}};
    for (const Pick &p : picks) {
        QLineEdit *nameBox = box(QString::fromLatin1(p.nameBox));
        QLineEdit *codeBox = box(QString::fromLatin1(p.codeBox));
        for (QLineEdit *e : {nameBox, codeBox})
            delete takeFromForm(e);
        p.button = new QPushButton(QString::fromUtf8(p.caption), this);
        p.button->setObjectName(QString::fromLatin1(p.name));
        p.button->setToolTip(u"Lista ablak megnyitása. és választás a listából."_s);
        p.button->setAutoDefault(false);
        connect(p.button, &QPushButton::clicked, this, p.handler);
        tint(nameBox, QColor(0xC0, 0xC0, 0xC0)); // silver
        tint(codeBox, QColor(0x80, 0x80, 0x80)); // grey
        codeBox->setMinimumWidth(codeBox->fontMetrics().averageCharWidth() * 8);
        codeBox->setMaximumWidth(codeBox->fontMetrics().averageCharWidth() * 10);
        auto *row = new QHBoxLayout;
        row->addWidget(nameBox, 1);
        row->addWidget(codeBox);
        form->addRow(p.button, row);
    }
    // The pick buttons exist only now: apply the tab order again.
    finishLayout();
}

void TForm14::fillMore()
{
    // The names of the parcel's four codes; a code that matches no row gives an empty name.
    TData &d = Data();
    struct Lookup
    {
        Query *query;
        const char *table, *codeColumn, *parcelColumn, *nameColumn, *box;
    };
    const Lookup lookups[] = {{d.ZQ53, "muvag", "mkod", "tMkod", "mMuvag", "Edit6"},
                              {d.ZQ63, "varos", "vkod", "tVkod", "vHelyseg", "Edit7"},
                              {d.ZQ73, "tforma", "ukod", "tUkod", "uTulforma", "Edit8"},
                              {d.ZQ103, "fekves", "fkod", "tFkod", "fFekves", "Edit9"}};
    for (const Lookup &l : lookups) {
        l.query->setSql({u"SELECT * FROM %1      "_s.arg(QLatin1String(l.table)),
                         u"  WHERE %1 = :p1 "_s.arg(QLatin1String(l.codeColumn))});
        l.query->setText(u"p1"_s, d.ZQ40->fieldText(QString::fromLatin1(l.parcelColumn)));
        l.query->open();
        box(QString::fromLatin1(l.box))->setText(l.query->fieldText(QString::fromLatin1(l.nameColumn)));
    }
}

void TForm14::Button1Click()
{
    pickFrom<TForm5>(this);
    // Whichever way the list was closed, its current row is the pick.
    Query *q = Data().ZQ50;
    box(u"Edit6"_s)->setText(q->fieldText(u"mMuvag"_s));
    box(u"Edit12"_s)->setText(q->fieldText(u"mKod"_s));
}

void TForm14::Button2Click()
{
    pickFrom<TForm7>(this);
    Query *q = Data().ZQ60;
    box(u"Edit7"_s)->setText(q->fieldText(u"vHelyseg"_s));
    box(u"Edit13"_s)->setText(q->fieldText(u"vKod"_s));
}

void TForm14::Button3Click()
{
    pickFrom<TForm9>(this);
    Query *q = Data().ZQ70;
    box(u"Edit8"_s)->setText(q->fieldText(u"uTulforma"_s));
    box(u"Edit14"_s)->setText(q->fieldText(u"uKod"_s));
}

void TForm14::Button4Click()
{
    // The location list writes into this window itself, and only on its "Kiválaszt".
    pickFrom<TForm11>(this);
}

void TForm14::setLocation(const QString &name, const QString &code)
{
    box(u"Edit9"_s)->setText(name);
    box(u"Edit15"_s)->setText(code);
}

void parcels::preparePrint()
{
    TData &d = Data();
    d.ZQ42->setSql({u"SELECT SUM(tAK) AS m_AK, SUM(tHA) AS m_HA  "_s, u"  FROM tabla  "_s});
    d.ZQ42->open();
    // SUM over no rows is NULL, which reads as 0.
    d.variables.set(u"v_mAK"_s, d.ZQ42->fieldNumber(u"m_AK"_s));
    d.variables.set(u"v_mHA"_s, d.ZQ42->fieldNumber(u"m_HA"_s));
    d.ZQ43->setSql(
        {u"SELECT *      "_s, u"  FROM tabla  "_s, u"  JOIN muvag  ON muvag.mKod  = tabla.tMkod "_s,
         u"  JOIN tforma ON tforma.uKod = tabla.tUkod "_s, u"  JOIN varos  ON varos.vKod  = tabla.tVkod "_s,
         u"  JOIN fekves ON fekves.fKod = tabla.tFkod "_s, u"  ORDER BY vHelyseg, tHrsz "_s});
    d.ZQ43->open();
}

void parcels::registerWindows()
{
    windows::registerWindow(u"TForm13"_s, [](QWidget *p) { return new TForm13(p); });
}
