#include "payments/payments.h"

#include "forms/dbwidgets.h"
#include "foundation/codes.h"
#include "foundation/formats.h"
#include "foundation/globals.h"
#include "foundation/keys.h"
#include "foundation/tdata.h"
#include "foundation/ui.h"
#include "foundation/windows.h"
#include "owners/owners.h"
#include "reports/printing.h"

#include <QDate>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString kNewPayment = u"Új kifizetés"_s;
const QString kNumberKeys = u"0123456789,"_s;

ListSpec paymentListSpec()
{
    TData &d = Data();
    ListSpec s;
    s.caption = u"Termény, egyedi kifizetés"_s;
    s.fixedSize = false;
    s.list = d.ZQ90;
    s.source = d.DQ90;
    s.gridColumns = {{u"kKod"_s, u"Bizonylatszám"_s},   {u"kDatum"_s, u"Dátum"_s},
                     {u"kMegnev"_s, u"Megnevezés"_s},   {u"kMenny"_s, u"Mennyiség"_s},
                     {u"kMe"_s, u"Mennyiség egység"_s}, {u"kEar"_s, u"Egységár"_s},
                     {u"kFt"_s, u"Kifizetés (Ft)"_s},   {u"kNkod"_s, u"Néckód"_s},
                     {u"kfeladas"_s, u"kfeladas"_s},    {u"IDk"_s, u"IDk"_s}};
    s.adata = {{u"ID:"_s, {u"IDk"_s}},          {u"Bizonylatszám::"_s, {u"kKod"_s}},
               {u"Névkódja::"_s, {u"kNkod"_s}}, {u"Megnevezés:"_s, {u"kMegnev"_s}},
               {u"Kelt:"_s, {u"kDatum"_s}},     {u"Mennyiség:"_s, {u"kMenny"_s}},
               {u"M.egység:"_s, {u"kMe"_s}},    {u"Egységár:"_s, {u"kEar"_s}},
               {u"Kifizetett:"_s, {u"kFt"_s}}};
    const QString byVoucher = u"A lista, \"Bizonylatszám\" szerint"_s;
    const QString select = u"SELECT * FROM kifiz "_s;
    s.openingCaption = byVoucher;
    s.defaultLines = {select, u"         ORDER BY kKod "_s};
    s.searchLabel = u"Bizonylatszám:"_s;
    s.searchField = u"kKod"_s;
    s.searchCaption = u"A lista, \"Biz.szám\" szerint"_s;
    s.sorts = {{0, {select, u"         ORDER BY kKod "_s}, byVoucher},
               {1, {select, u"         ORDER BY kDatum "_s}, u"A lista, \"Dátum\" szerint"_s},
               {7, {select, u"         ORDER BY kNkod "_s}, u"A lista, \"Névkód\" szerint"_s}};
    s.codeField = u"kKod"_s;
    s.codeValue = &mv().kifizCode;
    // No use check; the last payment row is never deleted.
    s.countQuery = d.ZQ92;
    s.countLines = {u"SELECT count(*) AS db FROM kifiz      "_s};
    s.deleteQuery = d.ZQ93;
    s.deleteLines = {u"DELETE FROM kifiz      "_s, u"  WHERE kkod = :p1 "_s};
    s.deleteCodeField = u"kkod"_s;
    s.deletedMessage = u"A kifizetéssor törlölve!"_s;
    s.deleteFailedMessage = u"Hiba: kifiz DELETE törlésekor"_s;
    s.editMode = &mv().kifizEditMode;
    s.newModeText = kNewPayment;
    s.changeModeText = u"Kifizetés módositás"_s;
    s.makeEditor = [](QWidget *p) { return new TForm19(p); };
    s.hintNew = u"Új kifizetés. Ablak nyitás"_s;
    s.hintChange = u"Kiválasztott sor módositása"_s;
    s.hintPrint = u"Teljes lista a kifizetésről."_s;
    s.buttonOrder = s.buttonTabOrder = {u"Button2"_s, u"Button3"_s, u"Button4"_s,
                                        u"Button5"_s, u"Button1"_s, u"Button7"_s};
    s.print = [] {
        payments::preparePrint();
        printTemplate(u"Kifizetes.frf"_s, QPageLayout::Portrait);
    };
    return s;
}

EditSpec paymentEditSpec()
{
    TData &d = Data();
    using T = EditSpec::Type;
    EditSpec s;
    s.designCaption = u"Kifizetés bevitel"_s;
    s.fixedSize = true;
    s.enterMovesFocus = true;
    s.boxes = {boxes::typed(u"Edit6"_s, u"Dátum"_s, u"kDatum"_s, 10, u"0123456789."_s),
               boxes::typed(u"Edit1"_s, u"Megnevezés"_s, u"kMegnev"_s, 45),
               boxes::typed(u"Edit2"_s, u"Mennyiség"_s, u"kMenny"_s, 0, kNumberKeys),
               boxes::typed(u"Edit3"_s, u"M.egység"_s, u"kMe"_s, 5),
               boxes::typed(u"Edit4"_s, u"Egységár"_s, u"kEar"_s, 0, kNumberKeys),
               boxes::typed(u"Edit5"_s, u"Kifizetendő"_s, u"kFt"_s, 0, kNumberKeys),
               boxes::shown(u"Edit8"_s, u"Kifizetési bizonylatszáma:"_s, u"KKod"_s, 8),
               boxes::hidden(u"Edit7"_s, u"IDk"_s, 0, u"IDk"_s),
               // The owner selected: empty while none is (filled from ZQ30, not from the list row).
               boxes::hidden(u"Edit10"_s, {}, 5, u"Tulajdonos kódja"_s)};
    s.boxes[2].initial = s.boxes[4].initial = s.boxes[5].initial = u"0"_s;
    s.boxes[5].hint = u"Számított vagy beírt összeg."_s;
    s.tabOrder = {u"Edit6"_s, u"Edit1"_s,   u"Edit2"_s,   u"Edit3"_s,   u"Edit4"_s, u"Edit5"_s,
                  u"Edit8"_s, u"Button1"_s, u"Button2"_s, u"Button3"_s, u"Edit11"_s};
    s.okName = u"Button1"_s;
    s.cancelName = u"Button2"_s;
    s.cancelHint = u"Lap bezárása"_s;
    s.idBox = u"Edit7"_s;
    s.codeBox = u"Edit8"_s;
    s.editMode = &mv().kifizEditMode;
    s.newModeText = kNewPayment;
    s.codeValue = &mv().kifizCode;
    s.list = d.ZQ90;
    s.stmt = d.ZQ92;
    s.aux = d.ZQ91;
    s.table = u"kifiz"_s;
    s.idColumn = u"IDk"_s;
    s.codeField = u"kKod"_s;
    // Computed again inside the transaction: another payment may have been stored since the
    // window showed its number.
    s.codeInTransaction = true;
    s.insertLines = {u"INSERT INTO kifiz (  KKod, KNkod, Kmegnev, Kmenny, Kme, Kear, KFt, kDatum ) "_s,
                     u"   VALUES          (  :p1,   :p2,     :p3,    :p4, :p5,  :p6, :p7,    :p8 ) "_s};
    const QList<EditSpec::Binding> fields{{u"p2"_s, u"Edit10"_s},           {u"p3"_s, u"Edit1"_s},
                                          {u"p4"_s, u"Edit2"_s, T::Number}, {u"p5"_s, u"Edit3"_s},
                                          {u"p6"_s, u"Edit4"_s, T::Number}, {u"p7"_s, u"Edit5"_s, T::Number},
                                          {u"p8"_s, u"Edit6"_s, T::Date}};
    s.insertBindings = QList<EditSpec::Binding>{{u"p1"_s, {}}} + fields;
    // The change writes the row without kFeladas: a group-posted payment corrected by hand becomes
    // a single payment (a later revocation leaves it).
    s.replaceLines = {
        u"REPLACE INTO kifiz ( IDk, KKod, KNkod, Kmegnev, Kmenny, Kme, Kear, KFt, Kdatum   ) "_s,
        u"   VALUES        (   :p0,  :p1,   :p2,     :p3,    :p4, :p5,  :p6, :p7,    :p8   ) "_s};
    s.replaceBindings = QList<EditSpec::Binding>{{u"p0"_s, u"Edit7"_s}, {u"p1"_s, u"Edit8"_s}} + fields;
    s.listLinesAfterSaving = {u"SELECT * FROM kifiz   "_s, u"         ORDER BY kDatum   "_s};
    s.fillFailure = u"Hiba a kifiz módosítás Edit-ben való megjelenitésekor!"_s;
    s.changeFailure = u"Hiba: Újban, INSERT-edit a kifiz-ben "_s;
    s.insertFailure = u"Hiba: Újban, INSERT-append a kifiz-ben "_s;
    s.otherFailure = u"Hiba az append vagy edit közben az kifiz-ben!"_s;
    return s;
}

QLabel *unit(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

} // namespace

TForm20::TForm20(QWidget *parent)
    : ListWindow(paymentListSpec(), parent)
{
    setObjectName(u"Form20"_s);
    DBGrid1->setMinimumWidth(DBGrid1->fontMetrics().averageCharWidth() * 110);
    DBGrid1->setStretchColumn(2); // the description
}

TForm19::TForm19(QWidget *parent)
    : EditWindow(paymentEditSpec(), parent)
{
    setObjectName(u"Form19"_s);
    TData &d = Data();
    // The amount is followed by its unit.
    QLineEdit *amount = box(u"Edit5"_s);
    int row = -1;
    QFormLayout::ItemRole role;
    form->getWidgetPosition(amount, &row, &role);
    QLabel *amountLabel = takeFromForm(amount);
    auto *amountRow = new QHBoxLayout;
    amountRow->addWidget(amount);
    amountRow->addWidget(unit(u"Ft"_s, this));
    form->insertRow(row, amountLabel, amountRow);
    for (const char *name : {"Edit6", "Edit2", "Edit4", "Edit5", "Edit8", "Edit3"}) {
        QLineEdit *e = box(QString::fromLatin1(name));
        e->setMaximumWidth(e->fontMetrics().averageCharWidth() * 18);
    }
    for (const char *name : {"Edit2", "Edit4", "Edit5"})
        box(QString::fromLatin1(name))->setAlignment(Qt::AlignRight);

    // The owner selected, what the owner has been paid so far, and the button that picks one.
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
    auto *grid = static_cast<QGridLayout *>(GroupBox1->layout());
    Button3 = new QPushButton(u"Név választás"_s, GroupBox1);
    Button3->setObjectName(u"Button3"_s);
    Button3->setToolTip(u"Klikk a gombra. Név választás"_s);
    Button3->setAutoDefault(false);
    connect(Button3, &QPushButton::clicked, this, &TForm19::Button3Click);
    auto *paid = new QLineEdit(GroupBox1);
    paid->setObjectName(u"Edit11"_s);
    paid->setReadOnly(true);
    paid->setAlignment(Qt::AlignRight);
    auto *paidLabel = new QLabel(u"Kifizetve:"_s, GroupBox1);
    paidLabel->setBuddy(paid);
    auto *paidRow = new QHBoxLayout;
    paidRow->addWidget(paid);
    paidRow->addWidget(unit(u"Ft"_s, GroupBox1));
    grid->addWidget(Button3, 4, 0, Qt::AlignLeft);
    grid->addWidget(paidLabel, 4, 2, Qt::AlignRight);
    grid->addLayout(paidRow, 4, 3);
    addSection(GroupBox1);

    for (const char *name : {"Edit2", "Edit4"}) {
        QLineEdit *e = box(QString::fromLatin1(name));
        keys::onLeave(e, [this, e] { computeAmount(e); });
    }
    keys::onLeave(box(u"Edit6"_s), [this] { checkDate(); });
    finishLayout();
}

void TForm19::computeAmount(QLineEdit *left)
{
    if (left->text().trimmed().isEmpty())
        left->setText(u"0"_s);
    const auto quantity = formats::parseNumber(box(u"Edit2"_s)->text());
    const auto price = formats::parseNumber(box(u"Edit4"_s)->text());
    if (!quantity || !price) {
        // A number the box let through but that is none ("1,2,3"): said in Hungarian; the amount stays.
        const QString bad = quantity ? box(u"Edit4"_s)->text() : box(u"Edit2"_s)->text();
        ui::message(u"Hibás szám: „%1”"_s.arg(bad));
        return;
    }
    // No rounding to the fillér: 3 × 0,333 is 0,999.
    box(u"Edit5"_s)->setText(formats::formatGeneral(*quantity * *price));
}

void TForm19::checkDate()
{
    if (!formats::parseDate(box(u"Edit6"_s)->text())) {
        ui::message(u"Hibás dátum!"_s);
        box(u"Edit6"_s)->setFocus();
    }
}

void TForm19::fillMore()
{
    TData &d = Data();
    d.ZQ30->setSql({u"SELECT * FROM tulaj      "_s, u"  WHERE nkod = :p1 "_s});
    d.ZQ30->setText(u"p1"_s, d.ZQ90->fieldText(u"kNkod"_s));
    d.ZQ30->open();
    // Empty when the owner no longer exists.
    box(u"Edit10"_s)->setText(d.ZQ30->fieldText(u"nKod"_s));
}

void TForm19::showMore()
{
    setWindowTitle(mv().kifizEditMode);
    if (isNewMode()) {
        box(u"Edit8"_s)->setText(nextVoucherNumber());
        box(u"Edit6"_s)->setText(formats::formatDate(QDate::currentDate()));
        box(u"Edit10"_s)->clear();
    } else {
        f_reszosszes();
    }
    box(u"Edit6"_s)->setFocus();
}

void TForm19::f_reszosszes()
{
    TData &d = Data();
    d.ZQ91->setSql({u"SELECT KNkod, KFt, SUM( KFt ) AS sumFt    "_s, u"         FROM kifiz   "_s,
                    u"         WHERE KNkod = :p1 "_s, u"         GROUP BY KNkod   "_s});
    d.ZQ91->setText(u"p1"_s, d.ZQ30->isOpen() ? d.ZQ30->fieldText(u"Nkod"_s) : QString());
    d.ZQ91->open();
    // No payment yet: no row, and the sum reads as 0.
    findChild<QLineEdit *>(u"Edit11"_s)->setText(formats::formatGrouped(d.ZQ91->fieldNumber(u"sumFt"_s), 2));
}

void TForm19::Button3Click()
{
    pickFrom<TForm3>(this);
    // Whichever way the owner list was closed, its current row is the owner.
    box(u"Edit10"_s)->setText(Data().ZQ30->fieldText(u"Nkod"_s));
    f_reszosszes();
}

bool TForm19::checkMore()
{
    struct Check
    {
        const char *box;
        QString message;
        bool zero; // the box is set to "0" as well
    };
    const Check blanks[] = {{"Edit2", u"Nem lehet üres!"_s, true},
                            {"Edit4", u"Nem lehet üres!"_s, true},
                            {"Edit5", u"Nincs kifizetendő összeg!"_s, true}};
    for (const Check &c : blanks) {
        QLineEdit *e = box(QString::fromLatin1(c.box));
        if (e->text().trimmed().isEmpty()) {
            ui::message(c.message);
            e->setText(u"0"_s);
            e->setFocus();
            return false;
        }
    }
    // The exact text "0": 0,0 and 00 pass and are stored as zero.
    if (box(u"Edit5"_s)->text() == QLatin1String("0")) {
        ui::message(u"Nulla a kifizetendő összeg!"_s);
        box(u"Edit5"_s)->setFocus();
        return false;
    }
    if (box(u"Edit10"_s)->text().trimmed().isEmpty()) {
        ui::message(u"Nincs személy kiválasztva !"_s);
        Button3->setFocus();
        return false;
    }
    return true;
}

void TForm19::afterSave()
{
    Data().ZQ30->close();
}

void payments::preparePrint()
{
    TData &d = Data();
    d.ZQ93->setSql({u"SELECT SUM(kFt) AS sum_Ft "_s, u"    FROM  kifiz           "_s});
    d.ZQ93->open();
    d.variables.set(u"v_mFt"_s, d.ZQ93->fieldNumber(u"sum_Ft"_s));
    d.ZQ93->setSql({u"SELECT *          "_s, u"    FROM  kifiz   "_s,
                    u"    JOIN tulaj ON tulaj.nKod = kifiz.kNkod    "_s, u"    ORDER BY kKod "_s});
    d.ZQ93->open();
    d.ZQ93->refresh();
}

void payments::registerWindows()
{
    windows::registerWindow(u"TForm20"_s, [](QWidget *p) { return new TForm20(p); });
}
