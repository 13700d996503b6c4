#include "owners/owners.h"

#include "forms/dbwidgets.h"
#include "foundation/account.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/ui.h"
#include "foundation/windows.h"
#include "reports/printing.h"

using namespace Qt::StringLiterals;

namespace {

QStringList usageLines(const QString &select)
{
    return {select, u"  FROM  haszn           "_s, u"  WHERE (hNkod = :p1) "_s, u"  GROUP BY hNkod      "_s};
}

// Payments name their owner too: deleting the owner would drop them from the settlement and hand
// them to the next owner given the freed code.
QStringList paymentLines()
{
    return {u"SELECT kNkod, count(kNkod) as db "_s, u"  FROM  kifiz           "_s,
            u"  WHERE (kNkod = :p1) "_s, u"  GROUP BY kNkod      "_s};
}

const QStringList &nameOrderLines()
{
    static const QStringList lines{u"SELECT * FROM tulaj "_s, u"         ORDER BY nNev "_s};
    return lines;
}

ListSpec ownerListSpec()
{
    TData &d = Data();
    ListSpec s;
    s.caption = u"Tulajdonos"_s;
    s.fixedSize = true;
    s.enterMovesFocus = true;
    s.list = d.ZQ30;
    s.source = d.DQ30;
    s.gridColumns = {{u"nKod"_s, u"Kód"_s},
                     {u"nNev"_s, u"Név"_s},
                     {u"nSzido"_s, u"Születési idö"_s},
                     {u"nAnyja"_s, u"Anyja neve"_s},
                     {u"nIrszam"_s, u"Ir.szám"_s},
                     {u"nHely"_s, u"Helységnév"_s},
                     {u"nUtca"_s, u"Utca"_s},
                     {u"nLnev"_s, u"Leánykori név"_s},
                     {u"nAdoazon"_s, u"Adóazonositó"_s},
                     {u"nSzla"_s, u"Bank szla"_s},
                     {u"nSzja"_s, u"Szja"_s},
                     {u"nMin"_s, {}},
                     {u"IDn"_s, {}}};
    s.adata = {{u"ID:"_s, {u"IDn"_s}},
               {u"Kód:"_s, {u"nKod"_s}},
               {u"Tulajdonos neve:"_s, {u"nNev"_s}},
               {u"Születési dátuma:"_s, {u"nSzido"_s}},
               {u"Anyja neve:"_s, {u"nAnyja"_s}},
               {u"L.név:"_s, {u"nLnev"_s}},
               {u"Cime:"_s, {u"nIrszam"_s, u"nHely"_s, u"nUtca"_s}},
               {u"Adóazonositó: "_s, {u"nAdoazon"_s}},
               {u"Számlaszám:"_s, {u"nSzla"_s}},
               {u"Személyiszám:"_s, {u"nSzemszam"_s}}};

    const QString byName = u"A lista, \"Név\" szerint"_s;
    s.openingCaption = byName;
    s.defaultLines = nameOrderLines();
    s.searchLabel = u"Név:"_s;
    s.searchField = u"nNev"_s;
    s.searchCaption = byName;
    s.sorts = {
        {0, {u"SELECT * "_s, u"  FROM tulaj "_s, u"  ORDER BY nkod "_s}, u"A lista, \"Kód\" szerint"_s},
        {1, {u"SELECT * "_s, u"  FROM tulaj "_s, u"  ORDER BY nNev "_s}, byName},
        {5,
         {u"SELECT * "_s, u"  FROM tulaj "_s, u"  ORDER BY nHely "_s},
         u"A lista, \"Település\" szerint"_s}};
    s.codeField = u"nKod"_s;
    s.codeValue = &mv().tulajCode;

    s.usageQuery = d.ZQ33;
    s.usesOnChange = {{usageLines(u"SELECT hNkod, count(hNKod) as db "_s), u"nKod"_s,
                       u"A név már használatban van ! Javitja ?"_s}};
    s.usesOnDelete = {{usageLines(u"SELECT hNkod, count(hNkod) as db "_s), u"nKod"_s,
                       u"A név már szerepel a haszonbérlet nyilvántartásban !"_s},
                      {paymentLines(), u"nKod"_s, u"A név már szerepel a kifizetések között !"_s}};
    s.countQuery = d.ZQ32;
    s.countLines = {u"SELECT count(*) AS db FROM tulaj      "_s};
    s.deleteQuery = d.ZQ33;
    s.deleteLines = {u"DELETE FROM tulaj      "_s, u"  WHERE nkod = :p1 "_s};
    s.deleteCodeField = u"nKod"_s;
    s.deletedMessage = u"A név törlölve!"_s;
    s.deleteFailedMessage = u"Hiba: tulaj DELETE törlésekor"_s;

    s.editMode = &mv().tulajEditMode;
    s.newModeText = u"Új tulajdonos"_s;
    s.changeModeText = u"Tulajdonos módositás"_s;
    s.makeEditor = [](QWidget *p) { return new TForm4(p); };

    s.hintNew = u"Új tulajdonos. Ablak nyitás"_s;
    s.hintChange = u"Kiválasztott név módositása"_s;
    s.hintPrint = u"Teljes lista a nevekről."_s;
    s.buttonOrder = {u"Button1"_s, u"Button2"_s, u"Button3"_s, u"Button4"_s, u"Button7"_s, u"Button5"_s};
    s.buttonTabOrder = {u"Button2"_s, u"Button3"_s, u"Button4"_s, u"Button7"_s, u"Button5"_s, u"Button1"_s};

    Query *print = d.ZQ33;
    // The template groups the owners by initial, which relies on this name order.
    s.print = [print] {
        print->setSql({u"SELECT * FROM tulaj ORDER BY nNev, nSzido"_s});
        print->open();
        printTemplate(u"Tulaj.frf"_s, QPageLayout::Portrait);
    };
    return s;
}

EditSpec ownerEditSpec()
{
    TData &d = Data();
    using T = EditSpec::Type;
    const QString digits = u"0123456789"_s;
    EditSpec s;
    s.designCaption = u"Tulajdonos bevitel"_s;
    s.fixedSize = true;
    s.enterMovesFocus = true;
    // Each box takes at most its column's width, so nothing typed is cut by the server.
    s.boxes = {boxes::typed(u"Edit1"_s, u"Tulajdonos neve"_s, u"nNev"_s, 45),
               boxes::typed(u"Edit2"_s, u"Leánykori neve"_s, u"nLnev"_s, 45),
               boxes::typed(u"Edit3"_s, u"Anyja neve"_s, u"nAnyja"_s, 45),
               boxes::typed(u"Edit4"_s, u"Születési ideje"_s, u"nSzido"_s, 0, digits + u"."_s),
               boxes::typed(u"Edit5"_s, u"Irányitószám"_s, u"nIrszam"_s, 5, digits),
               boxes::typed(u"Edit6"_s, u"Helységnév"_s, u"nHely"_s, 45),
               boxes::typed(u"Edit7"_s, u"Utca"_s, u"nUtca"_s, 45),
               boxes::typed(u"Edit8"_s, u"Adóazonositó"_s, u"nAdoazon"_s, 10, digits),
               boxes::typed(u"Edit11"_s, u"Számlaszám:"_s, u"nSzla"_s, 45),
               boxes::typed(u"Edit12"_s, u"Személyiszám:"_s, u"nSzemszam"_s, 13, digits + u"-"_s),
               boxes::hidden(u"Edit9"_s, u"IDn"_s, 0, u"ID"_s),
               boxes::hidden(u"Edit10"_s, u"nKod"_s, 5, u"Nkód"_s)};
    s.tabOrder = {u"Edit1"_s, u"Edit2"_s, u"Edit3"_s,  u"Edit4"_s,   u"Edit5"_s,   u"Edit6"_s,
                  u"Edit7"_s, u"Edit8"_s, u"Edit11"_s, u"Button2"_s, u"Button4"_s, u"Edit12"_s};
    s.okName = u"Button2"_s;
    s.cancelName = u"Button4"_s;
    s.idBox = u"Edit9"_s;
    s.codeBox = u"Edit10"_s;
    s.editMode = &mv().tulajEditMode;
    s.newModeText = u"Új tulajdonos"_s;
    s.codeValue = &mv().tulajCode;
    s.list = d.ZQ30;
    s.stmt = d.ZQ32;
    s.aux = d.ZQ33;
    s.codeField = u"nKod"_s;
    s.insertLines = {
        u"INSERT INTO tulaj ( nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nLnev, nAdoazon, nSzla, "
        "nSzemszam ) "_s,
        u"   VALUES        (  :p1,   :p2,    :p3,    :p4,     :p5,   :p6,   :p7,   :p8,      :p9,  :p10,     "
        u" "
        ":p11 ) "_s};
    s.insertBindings = {{u"p1"_s, {}},           {u"p2"_s, u"Edit1"_s},  {u"p3"_s, u"Edit4"_s, T::Date},
                        {u"p4"_s, u"Edit3"_s},   {u"p5"_s, u"Edit5"_s},  {u"p6"_s, u"Edit6"_s},
                        {u"p7"_s, u"Edit7"_s},   {u"p8"_s, u"Edit2"_s},  {u"p9"_s, u"Edit8"_s},
                        {u"p10"_s, u"Edit11"_s}, {u"p11"_s, u"Edit12"_s}};
    // The REPLACE re-creates the row: the tax and note columns, which this window neither shows nor
    // writes, are carried over with their stored values instead of falling back to their defaults.
    s.replaceLines = {u"REPLACE INTO tulaj ( IDn, nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nLnev, "
                      "nAdoazon, nSzla, nSzemszam, nSzja, nMin ) "_s,
                      u"   VALUES         (  :p0,  :p1,  :p2,    :p3,    :p4,     :p5,   :p6,   :p7,   :p8,  "
                      "    :p9,  :p10,      :p11, :p12, :p13 ) "_s};
    s.replaceBindings = {{u"p0"_s, u"Edit9"_s},          {u"p1"_s, u"Edit10"_s},  {u"p2"_s, u"Edit1"_s},
                         {u"p3"_s, u"Edit4"_s, T::Date}, {u"p4"_s, u"Edit3"_s},   {u"p5"_s, u"Edit5"_s},
                         {u"p6"_s, u"Edit6"_s},          {u"p7"_s, u"Edit7"_s},   {u"p8"_s, u"Edit2"_s},
                         {u"p9"_s, u"Edit8"_s},          {u"p10"_s, u"Edit11"_s}, {u"p11"_s, u"Edit12"_s}};
    s.table = u"tulaj"_s;
    s.idColumn = u"IDn"_s;
    s.carried = {{u"nSzja"_s, u"p12"_s, T::Number}, {u"nMin"_s, u"p13"_s, T::Text}};
    s.listLinesAfterSaving = nameOrderLines();
    s.checks = {{u"Edit1"_s, EditSpec::Check::Kind::NotBlank, u"Üres a név!"_s},
                {u"Edit4"_s, EditSpec::Check::Kind::IsDate, u"Hibás dátum!"_s}};
    s.fillFailure = u"Hiba az tulajdonos módosítás Edit-ben való megjelenitésekor!"_s;
    s.changeFailure = u"Hiba: Módisitás, REPLACE-edit a tulaj-ban "_s;
    s.insertFailure = u"Hiba: Újban, INSERT-append a tulaj-ban "_s;
    s.otherFailure = u"Hiba az append vagy edit közben az tulaj-ban!"_s;
    return s;
}

} // namespace

TForm3::TForm3(QWidget *parent)
    : ListWindow(ownerListSpec(), parent)
{
    setObjectName(QStringLiteral("Form3"));
    // Thirteen columns: a wider grid than the code tables'.
    DBGrid1->setMinimumWidth(DBGrid1->fontMetrics().averageCharWidth() * 150);
}

TForm4::TForm4(QWidget *parent)
    : EditWindow(ownerEditSpec(), parent)
{
    setObjectName(QStringLiteral("Form4"));
}

bool TForm4::checkMore()
{
    QLineEdit *e = box(u"Edit11"_s);
    const account::Number n = account::parse(e->text());
    if (n.kind == account::Kind::Hungarian)
        e->setText(n.display);
    else if (n.kind == account::Kind::Invalid)
        ui::confirm(account::warning(e->text())); // the clerk may be copying a paper: stored all the same
    return true;
}

void owners::registerWindows()
{
    windows::registerWindow(QStringLiteral("TForm3"), [](QWidget *p) { return new TForm3(p); });
}
