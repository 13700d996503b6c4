#include "settlement/windows.h"

#include "forms/controls.h"
#include "forms/dbwidgets.h"
#include "foundation/codes.h"
#include "foundation/connection.h"
#include "foundation/formats.h"
#include "foundation/globals.h"
#include "foundation/keys.h"
#include "foundation/tdata.h"
#include "foundation/ui.h"
#include "foundation/windows.h"
#include "reports/printing.h"
#include "settlement/payoutwindow.h"

#include <QDate>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// ---- what the settlement windows share ---------------------------------------------------------

SettlementWindow::SettlementWindow(QWidget *parent)
    : QDialog(parent)
{
    failureLabel = new QLabel(this);
    failureLabel->setObjectName(u"failureLabel"_s);
    failureLabel->setWordWrap(true);
    failureLabel->setStyleSheet(u"color: #b00000; font-weight: bold;"_s);
    failureLabel->hide();
}

void SettlementWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!shown) {
        shown = true;
        if (centreAtShow)
            keys::centreOnScreen(this);
        if (!takeWorkTable()) {
            // Another copy's window is using the work table: this one does not touch it.
            QTimer::singleShot(0, this, &QDialog::reject);
            return;
        }
        FormShow();
    }
}

SettlementWindow::~SettlementWindow()
{
    releaseWorkTable();
}

namespace {
const char *kWorkTableLock = "SELECT GET_LOCK(CONCAT(DATABASE(), '.munk'), 0) AS got";
}

bool SettlementWindow::takeWorkTable()
{
    Query q(Data().ZCon1, u"workTableLock"_s);
    q.setSql({QString::fromLatin1(kWorkTableLock)});
    q.open();
    holdsWorkTable = q.fieldText(u"got"_s) == QLatin1String("1");
    if (!holdsWorkTable) {
        failureLabel->setText(u"A munkatáblát egy másik elszámolási ablak használja."_s);
        failureLabel->show();
        ui::message(
            u"Az elszámolás munkatábláját most egy másik Zelvana használja: valaki egy másik ablakban vagy "
            u"gépen nyitva tart egy elszámolási ablakot (Jegyzék, Átutalás, Csoportos feladás, Igazolás "
            u"vagy Bejelentés). Zárja be ott, és próbálja újra."_s);
    }
    return holdsWorkTable;
}

void SettlementWindow::releaseWorkTable()
{
    if (!holdsWorkTable || !hasData())
        return;
    holdsWorkTable = false;
    try {
        Query q(Data().ZCon1, u"workTableLock"_s);
        q.setSql({u"SELECT RELEASE_LOCK(CONCAT(DATABASE(), '.munk')) AS released"_s});
        q.open();
    } catch (const std::exception &) {
        // A connection that broke took the lock with it.
    }
}

bool SettlementWindow::rebuild(settlement::Variant variant, const QList<QPushButton *> &actions)
{
    const settlement::Rebuild r = settlement::rebuildWorkTable(Data(), variant);
    ok = r.ok;
    if (!ok) {
        ui::message(r.message);
        for (QPushButton *b : actions)
            b->setEnabled(false);
        failureLabel->setText(
            u"Az elszámolás nem készült el (%1), ezért ebben az ablakban nem lehet "
            u"feladni és nyomtatni. Zárja be az ablakot, és nyissa meg újra."_s.arg(r.message.trimmed()));
        failureLabel->show();
    }
    return ok;
}

QListWidget *SettlementWindow::makeCheckList()
{
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(u"CheckListBox1"_s);
    CheckListBox1->setUniformItemSizes(true);
    // The lines are aligned with blanks: a fixed-width face (the system's when DejaVu is missing).
    QFont fixed(u"DejaVu Sans Mono"_s);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    if (!QFontInfo(fixed).fixedPitch())
        fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    CheckListBox1->setFont(fixed);
    CheckListBox1->setMinimumWidth(CheckListBox1->fontMetrics().averageCharWidth() * 110);
    CheckListBox1->setMinimumHeight(CheckListBox1->fontMetrics().height() * 16);
    return CheckListBox1;
}

void SettlementWindow::fillCheckList(Query &q, const std::function<QString(const Query &)> &line,
                                     const std::function<bool(const Query &)> &ticked)
{
    CheckListBox1->setUpdatesEnabled(false);
    CheckListBox1->clear();
    for (q.first(); !q.eof(); q.next()) {
        auto *item = new QListWidgetItem(line(q), CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(ticked(q) ? Qt::Checked : Qt::Unchecked);
    }
    q.first();
    CheckListBox1->setUpdatesEnabled(true);
}

std::vector<bool> SettlementWindow::ticks() const
{
    std::vector<bool> out;
    if (!CheckListBox1)
        return out;
    out.reserve(size_t(CheckListBox1->count()));
    for (int i = 0; i < CheckListBox1->count(); ++i)
        out.push_back(CheckListBox1->item(i)->checkState() == Qt::Checked);
    return out;
}

void SettlementWindow::tickAll(bool ticked)
{
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

namespace {

using forms::button;
using forms::label;

void run(Query *q, const QStringList &lines)
{
    q->setSql(lines);
    q->execSql();
}

const QString kPostingWait = u" Adatfeldolgozás... Kérem várjon az üzenet ablak bezáródásáig!"_s;
const QString kRevokeWait = u" Adatfeldolgozás... Kérem várjon az üzenet ablak megjelenitéséig!"_s;
const QString kMarked = u"A megjelöltek kerülnek  feladásra."_s;

} // namespace

// ---- group posting -----------------------------------------------------------------------------

TForm21::TForm21(QWidget *parent)
    : SettlementWindow(parent)
{
    setObjectName(u"Form21"_s);
    setWindowTitle(u"Bérleti díj csoportos feladása"_s);
    auto *outer = new QVBoxLayout(this);

    Label6 = label(this, u"Label6"_s, u"Kifizetett  bérleti díj "_s);
    QFont big = Label6->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    Label6->setFont(big);
    outer->addWidget(Label6);

    auto *boxes = new QGridLayout;
    Label1 = label(this, u"Label1"_s, u"Bizonylat dátuma:"_s);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setToolTip(u"A feladás dátuma"_s);
    Edit1->setMaxLength(11);
    Edit1->setMaximumWidth(Edit1->fontMetrics().averageCharWidth() * 16);
    keys::allowOnly(Edit1, u"0123456789."_s);
    Label2 = label(this, u"Label2"_s, u"Bizonylat szövege:"_s);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(u"Edit2"_s);
    Edit2->setToolTip(u"pl.: \"Készpénzes kifizetés\""_s);
    Edit2->setMaxLength(45); // the payment's description column
    Label1->setBuddy(Edit1);
    Label2->setBuddy(Edit2);
    boxes->addWidget(Label1, 0, 0, Qt::AlignRight);
    boxes->addWidget(Edit1, 0, 1, Qt::AlignLeft);
    boxes->addWidget(Label2, 1, 0, Qt::AlignRight);
    boxes->addWidget(Edit2, 1, 1);
    outer->addLayout(boxes);

    Label4 = label(this, u"Label4"_s, u" A sor pipával jelölve ha még a fizetendő nagyobb mint nulla "_s);
    outer->addWidget(Label4);
    outer->addWidget(makeCheckList(), 1);
    CheckListBox1->setAccessibleName(u"Tulajdonosok egyenlege"_s);
    outer->addWidget(failureLabel);

    Label5 = label(this, u"Label5"_s, kMarked);
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    outer->addWidget(Label5);
    Label3 = label(this, u"Label3"_s, u"\"Feladás\" gombra  bekerül a kifizetett bérleti díjak közé."_s);
    Label7 = label(this, u"Label7"_s, u"Személyenként összesítve kerül  be a kifizetett tételek közé"_s);
    Label8 = label(this, u"Label8"_s,
                   u"A \"Visszavonás\" gombra az ÖSSZES  \"Feladás\" gomb müvelet  visszavonásra kerül."_s);
    for (QLabel *l : {Label3, Label7, Label8})
        outer->addWidget(l);

    auto *row = new QHBoxLayout;
    Button8 = button(this, u"Button8"_s, u"Kiválaszt - mind"_s, u"Minden sort megjelöl feladásra"_s);
    Button2 = button(this, u"Button2"_s, u"Kiválaszt - visszavonása"_s, u"Megjelölés visszavonása"_s);
    Button6 = button(this, u"Button6"_s, u"Feladás"_s, u"A megjelölt sor feladása a kifizetések közé."_s);
    Button3 = button(this, u"Button3"_s, u"Visszavonás"_s, u"A csoportos feladás visszavonása"_s);
    Button1 = button(this, u"Button1"_s, u"Mégsem"_s, u"Ablak zárás"_s);
    for (QPushButton *b : {Button8, Button2})
        row->addWidget(b);
    row->addStretch();
    for (QPushButton *b : {Button6, Button3, Button1})
        row->addWidget(b);
    outer->addLayout(row);

    connect(Button8, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(Button2, &QPushButton::clicked, this, [this] { tickAll(false); });
    // The wait texts go up when the mouse button goes down, before the work starts.
    connect(Button6, &QPushButton::pressed, this, [this] { Label5->setText(kPostingWait); });
    connect(Button3, &QPushButton::pressed, this, [this] { Label5->setText(kRevokeWait); });
    connect(Button6, &QPushButton::clicked, this, &TForm21::Button6Click);
    connect(Button3, &QPushButton::clicked, this, &TForm21::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    resize(900, 600);
}

void TForm21::FormShow()
{
    TData &d = Data();
    Edit1->setText(formats::formatDate(QDate::currentDate()));
    Edit2->setText(u"Bérleti dij (csoportos feladás)"_s);
    // Revocation does not read the work table: only posting waits for a good rebuild.
    if (!rebuild(settlement::Variant::Full, {Button6}))
        return;
    d.ZQ22->setSql({settlement::balanceLine(), u"  FROM munk         "_s, u"  GROUP BY xNKod   "_s,
                    u"  ORDER BY xnNev   "_s});
    d.ZQ22->open();
    fillCheckList(*d.ZQ22, settlement::postingLine,
                  [](const Query &q) { return q.fieldNumber(u"sum_fizetni"_s) > 0; });
}

void TForm21::Button6Click()
{
    TData &d = Data();
    // A date that does not read posts nothing, once, instead of failing every ticked owner.
    const auto date = formats::parseDate(Edit1->text());
    if (!date) {
        ui::message(u"Hibás dátum!"_s);
        Label5->setText(kMarked);
        Edit1->setFocus();
        return;
    }
    // A text the database cannot hold would fail every owner: said once, nothing posted.
    if (const QString bad = Cp1250::firstUnrepresentable(Edit2->text()); !bad.isEmpty()) {
        ui::message(
            u"A(z) „%1” karakter nem tárolható az adatbázisban, ezért semmi sem lett feladva. Javítsa "
            u"a szöveget!"_s.arg(bad));
        Label5->setText(kMarked);
        Edit2->setFocus();
        return;
    }
    const std::vector<bool> ticked = ticks();
    // The greatest voucher number is read once and counted on: these are the very numbers that
    // reading it again for every owner would give, unless another copy of the program stores a
    // payment meanwhile (then the unique voucher refuses the owner's INSERT; see below).
    qulonglong voucher = nextVoucherNumber().toULongLong();
    Query *q = d.ZQ22;
    Query *stmt = d.ZQ92;
    size_t line = 0;
    int posted = 0;
    for (q->first(); !q->eof() && line < ticked.size(); q->next(), ++line) {
        if (!ticked[line])
            continue;
        for (int attempt = 0;; ++attempt) {
            try {
                run(stmt, {u"START TRANSACTION"_s});
                stmt->setSql(
                    {u"INSERT INTO kifiz (  KKod, KNkod, Kmegnev, Kmenny, Kme, Kear, KFt, kDatum, kFeladas ) "_s,
                     u"   VALUES          (  :p1,   :p2,     :p3,    :p4, :p5,  :p6, :p7,    :p8,      :p9 ) "_s});
                stmt->setText(u"p1"_s, QString::number(voucher));
                stmt->setText(u"p2"_s, q->fieldText(u"xnKod"_s));
                stmt->setText(u"p3"_s, Edit2->text());
                stmt->setNumber(u"p4"_s, 0);
                stmt->setText(u"p5"_s, QString());
                stmt->setNumber(u"p6"_s, 0);
                stmt->setNumber(u"p7"_s, q->fieldNumber(u"sum_fizetni"_s)); // null reads as 0
                stmt->setDate(u"p8"_s, *date);
                stmt->setText(u"p9"_s, u"x"_s);
                stmt->execSql();
                run(stmt, {u"COMMIT"_s});
                ++voucher;
                ++posted;
            } catch (const ConnectionLost &) {
                // Each owner is posted in a transaction of its own: those before are posted whole,
                // this one not (the message of the loss said so), the rest are left for another run.
                run(stmt, {u"ROLLBACK"_s});
                ui::message(u"A csoportos feladás megszakadt, mert megszakadt a kapcsolat az adatbázissal. "
                            u"%1 tulajdonos feladása teljesen megtörtént, a többieké nem. Ha a kapcsolat "
                            u"helyreállt, nyissa meg újra az ablakot: a még fizetendő összegek a már "
                            u"feladottak nélkül jelennek meg."_s.arg(posted));
                accept();
                return;
            } catch (const std::exception &) {
                run(stmt, {u"ROLLBACK"_s});
                // Another copy took the number meanwhile: the owner is posted once more, under the
                // next free number. Any other failure is reported as it always was.
                qulonglong free = 0;
                try {
                    free = attempt == 0 ? nextVoucherNumber().toULongLong() : 0;
                } catch (const std::exception &) {
                }
                if (free > voucher) {
                    voucher = free;
                    continue;
                }
                ui::message(u"Hiba: Csoportos újban, INSERT-append a kifiz-ben "_s);
            }
            break;
        }
    }
    ui::message(u"A csoportos feladás befejeződött "_s);
    accept();
}

void TForm21::Button3Click()
{
    Query *stmt = Data().ZQ92;
    run(stmt, {u"START TRANSACTION"_s});
    try {
        run(stmt, {u"DELETE FROM kifiz      "_s, u"   WHERE kFeladas =\"x\" "_s});
        run(stmt, {u"COMMIT"_s});
    } catch (const std::exception &) {
        ui::message(u"Hiba: feladás visszavonásakor a  kifiz DELETE -beb ! "_s);
        run(stmt, {u"ROLLBACK"_s});
    }
    ui::message(u"A csoportos feladás VISSZAVONÁSA befejeződött "_s);
    accept();
}

// ---- payment register --------------------------------------------------------------------------

namespace {

// An overpaid owner's name stands on red, the rest of that row on white; the focused cell's text
// is red.
class RegisterDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QBrush background =
            settlement::registerCellBackground(*Data().ZQ110, index.row(), index.column());
        if (background.style() != Qt::NoBrush)
            option->backgroundBrush = background;
        if (option->state & QStyle::State_HasFocus) {
            option->palette.setColor(QPalette::Text, Qt::red);
            option->palette.setColor(QPalette::HighlightedText, Qt::red);
        }
    }
};

} // namespace

QBrush settlement::registerCellBackground(const Query &q, int row, int column)
{
    if (!q.isOpen() || row < 0 || row >= q.rowCount())
        return QBrush();
    const QStringList names = q.fieldNames();
    const int due = names.indexOf(u"sum_fizetni"_s);
    if (due < 0)
        return QBrush();
    const QVariant v = q.cellValue(row, due);
    if (v.isNull() || v.toDouble() >= 0)
        return QBrush();
    return names.value(column).compare(u"xnNev"_s, Qt::CaseInsensitive) == 0 ? QBrush(Qt::red)
                                                                             : QBrush(Qt::white);
}

TForm22::TForm22(QWidget *parent)
    : SettlementWindow(parent)
{
    setObjectName(u"Form22"_s);
    setWindowTitle(u"Kifizetési jegyzék"_s);
    TData &d = Data();
    auto *outer = new QVBoxLayout(this);
    Label1 = label(this, u"Label1"_s,
                   u"Kifizetendő = ( AK * müvelési ág díj  )  -  kivonva a  (terményben) kifizetett"_s);
    Label2 = label(this, u"Label2"_s, u"Személyenként összesítve"_s);
    Label3 = label(this, u"Label3"_s, QString());
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label3->setFont(bold);
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, QColor(0xb0, 0, 0));
    Label3->setPalette(red);
    for (QLabel *l : {Label1, Label2, Label3})
        outer->addWidget(l);
    d.DS110->setColumns({});
    DBGrid1 = new DbGrid(d.DS110, u"DBGrid1"_s, this);
    DBGrid1->setItemDelegate(new RegisterDelegate(DBGrid1));
    DBGrid1->setAccessibleName(u"Kifizetési jegyzék"_s);
    DBGrid1->setStretchColumn(1); // the name
    DBGrid1->setMinimumSize(DBGrid1->fontMetrics().averageCharWidth() * 130,
                            DBGrid1->verticalHeader()->defaultSectionSize() * 16);
    outer->addWidget(DBGrid1, 1);
    outer->addWidget(failureLabel);
    auto *row = new QHBoxLayout;
    DBNavigator1 = new DbNavigator(d.DS110, u"DBNavigator1"_s, this);
    row->addWidget(DBNavigator1);
    row->addStretch();
    Button1 = button(this, u"Button1"_s, u"Nyomtat"_s, u"Nyomtatás"_s);
    Button2 = button(this, u"Button2"_s, u"Mégsem"_s, u"Kilépés"_s);
    row->addWidget(Button1);
    row->addWidget(Button2);
    outer->addLayout(row);
    connect(Button1, &QPushButton::clicked, this, &TForm22::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    resize(1000, 600);
}

void TForm22::FormShow()
{
    TData &d = Data();
    // The grid shows nothing of a work table that a failed rebuild left as it was.
    d.ZQ110->close();
    if (!rebuild(settlement::Variant::Full, {Button1}))
        return;
    d.ZQ110->setSql(
        {settlement::balanceLineWithAddress(), u"  FROM munk         "_s, u"  GROUP BY xNKod   "_s});
    d.ZQ110->open();
    int overpaid = 0;
    for (d.ZQ110->first(); !d.ZQ110->eof(); d.ZQ110->next())
        if (d.ZQ110->fieldNumber(u"sum_fizetni"_s) < 0)
            ++overpaid;
    if (overpaid > 0)
        Label3->setText(u" Túlfizetés: %1 személynél. Neve pirossal megjelölve."_s.arg(overpaid));
}

void TForm22::Button1Click()
{
    settlement::prepareRegisterPrint();
    printTemplate(u"jegyzek.frf"_s, QPageLayout::Landscape);
}

void settlement::prepareRegisterPrint()
{
    TData &d = Data();
    // The grand total: every owner's sums together (overpayments netted).
    d.ZQ112->setSql({balanceLine(), u"    FROM munk              "_s, u"    GROUP BY xjel "_s});
    d.ZQ112->open();
    // The notes and coins of each owner's amount, rounded to 5 forint from the fillér.
    setModuleCounts({});
    d.ZQ110->setSql({balanceLine(), u"  FROM munk         "_s, u"  GROUP BY xNKod   "_s});
    d.ZQ110->open();
    qint64 cash = 0;
    for (d.ZQ110->first(); !d.ZQ110->eof(); d.ZQ110->next()) {
        const qint64 amount = roundToFive(d.ZQ110->fieldNumber(u"sum_fizetni"_s));
        cimletezo(amount);
        if (amount > 0)
            cash += amount;
    }
    const Counts counts = moduleCounts();
    for (size_t i = 0; i < kDenominations.size(); ++i)
        d.variables.set(u"v_p%1"_s.arg(kDenominations[i]), countLine(int(i), counts[i]));
    d.variables.set(u"v_keszpenz"_s, double(cash));
    // The register rows by name; owners with nothing to pay are left out as the print walks them.
    d.ZQ110->setSql({balanceLineWithAddress(), u"  FROM munk         "_s, u"  GROUP BY xNKod   "_s,
                     u"  ORDER BY xnNev   "_s});
    d.ZQ110->open();
    d.ZQ110->first();
    auto skip = [] {
        TData &data = Data();
        Query *q = data.ZQ110;
        while (!q->eof() && !(q->fieldNumber(u"sum_fizetni"_s) > 0))
            q->next();
        // The amount the cashier pays this owner.
        data.variables.set(u"v_kerekitett"_s, double(roundToFive(q->fieldNumber(u"sum_fizetni"_s))));
    };
    d.frDBDataSet110First = skip;
    d.frDBDataSet110Next = skip;
}

// ---- certificate and land-use sheet --------------------------------------------------------------

OwnerPrintWindow::OwnerPrintWindow(const QString &caption, const QString &templateName,
                                   settlement::Variant variant, QStringList ownerLines,
                                   std::function<void(TData &)> preparePrint, QWidget *parent)
    : SettlementWindow(parent)
    , templ(templateName)
    , variant(variant)
    , ownerLines(std::move(ownerLines))
    , prepare(std::move(preparePrint))
{
    setWindowTitle(caption);
    body = new QVBoxLayout(this);
    Label5 = label(this, u"Label5"_s, u"A megjelöltek kerülnek  nyomtatásra."_s);
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    body->addWidget(Label5);
    body->addWidget(makeCheckList(), 1);
    CheckListBox1->setAccessibleName(u"Tulajdonosok"_s);
    body->addWidget(failureLabel);
    auto *row = new QHBoxLayout;
    Button8 = button(this, u"Button8"_s, u"Kiválaszt - mind"_s, u"Minden sort megjelöl"_s);
    Button3 = button(this, u"Button3"_s, u"Kiválaszt - visszavonása"_s, u"Megjelölés visszavonása."_s);
    Button1 = button(this, u"Button1"_s, u"Nyomtat"_s, u"Nyomtatás"_s);
    Button2 = button(this, u"Button2"_s, u"Mégsem"_s, u"Lap bezárása"_s);
    row->addWidget(Button8);
    row->addWidget(Button3);
    row->addStretch();
    row->addWidget(Button1);
    row->addWidget(Button2);
    body->addLayout(row);
    connect(Button8, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(Button3, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(Button1, &QPushButton::clicked, this, &OwnerPrintWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    resize(900, 560);
}

void OwnerPrintWindow::FormShow()
{
    TData &d = Data();
    d.ZQ110->close();
    if (!rebuild(variant, {Button1}))
        return;
    d.ZQ110->setSql(ownerLines);
    d.ZQ110->open();
    fillCheckList(*d.ZQ110, settlement::ownerLineWithAddress, [](const Query &) { return false; });
}

void OwnerPrintWindow::Button1Click()
{
    TData &d = Data();
    QString message;
    if (!settlement::markSelectedOwners(d, *d.ZQ110, ticks(), &message)) {
        // Nothing is printed from a table the owners could not be kept in.
        ui::message(message);
        return;
    }
    prepare(d);
    printTemplate(templ, QPageLayout::Portrait);
    accept();
}

TForm24::TForm24(QWidget *parent)
    : OwnerPrintWindow(
          u"Igazolás a földbérleti díj kifizetésről"_s, u"igazolas.frf"_s, settlement::Variant::Full,
          {settlement::balanceLineWithAddress(), u"  FROM munk         "_s, u"  GROUP BY xnNev, xNKod   "_s},
          settlement::prepareCertificatePrint, parent)
{
    setObjectName(u"Form24"_s);
    Label1 = label(this, u"Label1"_s,
                   u"Ha a lista nem fér rá egy lapra, a fej- és lábrész megismétlésre kerül."_s);
    body->insertWidget(1, Label1);
}

TForm30::TForm30(QWidget *parent)
    : OwnerPrintWindow(
          u"Földhasználati bejelentési adatlap "_s, u"foldhasznalat.frf"_s, settlement::Variant::ItemsOnly,
          {u"SELECT  * "_s, u"  FROM munk         "_s, u"  GROUP BY xhNkod   "_s, u"  ORDER BY xnNev   "_s},
          settlement::prepareLandUsePrint, parent)
{
    setObjectName(u"Form30"_s);
    centreAtShow = false;
    // On yellow, as the explanation of this window stands.
    Label5->setAutoFillBackground(true);
    QPalette yellow = Label5->palette();
    yellow.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0x80));
    Label5->setPalette(yellow);
}

void settlement::registerWindows()
{
    windows::registerWindow(u"TForm21"_s, [](QWidget *p) { return new TForm21(p); });
    windows::registerWindow(u"TForm22"_s, [](QWidget *p) { return new TForm22(p); });
    windows::registerWindow(u"TForm31"_s, [](QWidget *p) { return new TForm31(p); });
    windows::registerWindow(u"TForm24"_s, [](QWidget *p) { return new TForm24(p); });
    windows::registerWindow(u"TForm30"_s, [](QWidget *p) { return new TForm30(p); });
}
