#include "settlement/payoutwindow.h"

#include "forms/controls.h"
#include "foundation/connection.h"
#include "foundation/formats.h"
#include "foundation/tdata.h"
#include "foundation/ui.h"
#include "reports/printing.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using forms::button;
using forms::label;

namespace {

QString forint(qint64 amount)
{
    return formats::formatGrouped(double(amount), 0) + u" Ft"_s;
}

} // namespace

// The owners to be paid, one line each, the first column ticked or not.
class PayoutModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    QList<payout::Line> rows;
    std::vector<bool> ticks;

    void reset(QList<payout::Line> lines)
    {
        beginResetModel();
        rows = std::move(lines);
        ticks.assign(size_t(rows.size()), true);
        endResetModel();
    }
    void tickAll(bool on)
    {
        ticks.assign(size_t(rows.size()), on);
        if (!rows.isEmpty())
            emit dataChanged(index(0, 0), index(int(rows.size()) - 1, 0), {Qt::CheckStateRole});
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 5; }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const char *titles[] = {"Név", "Kód", "Cím", "Számlaszám", "Összeg (Ft)"};
        return QString::fromUtf8(titles[section]);
    }
    Qt::ItemFlags flags(const QModelIndex &i) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (i.column() == 0)
            f |= Qt::ItemIsUserCheckable;
        return f;
    }
    QVariant data(const QModelIndex &i, int role) const override
    {
        const payout::Line &l = rows[i.row()];
        if (role == Qt::DisplayRole) {
            switch (i.column()) {
            case 0:
                return l.name;
            case 1:
                return l.code;
            case 2:
                return l.address();
            case 3:
                return l.accountShown();
            case 4:
                return formats::formatGrouped(double(l.forint), 0);
            }
        }
        if (role == Qt::CheckStateRole && i.column() == 0)
            return ticks[size_t(i.row())] ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::TextAlignmentRole && i.column() == 4)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::ForegroundRole && i.column() == 3) {
            if (l.way == payout::Way::BadAccount)
                return QColor(0xb0, 0, 0);
            if (l.way == payout::Way::Postal)
                return QColor(0x50, 0x50, 0x50);
        }
        if (role == Qt::ToolTipRole && i.column() == 3 && l.way == payout::Way::BadAccount)
            return u"A számlaszám nem helyes: nem kerül átutalási fájlba. Javítsa a tulajdonos adatainál."_s;
        return {};
    }
    bool setData(const QModelIndex &i, const QVariant &value, int role) override
    {
        if (role != Qt::CheckStateRole || i.column() != 0)
            return false;
        ticks[size_t(i.row())] = value.toInt() == Qt::Checked;
        emit dataChanged(i, i, {Qt::CheckStateRole});
        return true;
    }
};

TForm31::TForm31(QWidget *parent)
    : SettlementWindow(parent)
{
    setObjectName(u"Form31"_s);
    setWindowTitle(u"Átutalás"_s);
    auto *outer = new QVBoxLayout(this);
    Label1 = label(
        this, u"Label1"_s,
        u"Kifizetendő = ( AK * müvelési ág díj  )  -  kivonva a kifizetett, egész forintra kerekítve"_s);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 =
        label(this, u"Label2"_s,
              u"Számlaszámmal: átutalás; számlaszám nélkül: postai utalvány. A megjelöltek kerülnek a fájlba "
              u"és a listákra. A kifizetést a bank teljesítése után a „Csoportos feladás” rögzíti."_s);
    Label2->setWordWrap(true);
    outer->addWidget(Label1);
    outer->addWidget(Label2);

    auto *form = new QFormLayout;
    auto *accountRow = new QHBoxLayout;
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setMaxLength(45);
    Edit1->setMinimumWidth(Edit1->fontMetrics().averageCharWidth() * 34);
    Edit1->setToolTip(u"A bérlő bankszámlája, erről indulnak az átutalások"_s);
    Button4 = button(this, u"Button4"_s, u"Tárol"_s, u"A fizető számlaszám tárolása a bérlő adatai közé"_s);
    accountRow->addWidget(Edit1);
    accountRow->addWidget(Button4);
    accountRow->addStretch();
    Label4 = label(this, u"Label4"_s, u"Fizető számla (bérlő):"_s);
    Label4->setBuddy(Edit1);
    form->addRow(Label4, accountRow);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(u"Edit2"_s);
    Edit2->setMaxLength(140);
    Edit2->setText(u"Földbérleti díj %1"_s.arg(QDate::currentDate().year()));
    Edit2->setToolTip(u"Az átutalások közleménye"_s);
    Label5 = label(this, u"Label5"_s, u"Közlemény:"_s);
    Label5->setBuddy(Edit2);
    form->addRow(Label5, Edit2);
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(u"Edit3"_s);
    Edit3->setMaximumWidth(Edit3->fontMetrics().averageCharWidth() * 14);
    Edit3->setText(formats::formatDate(QDate::currentDate()));
    Edit3->setToolTip(u"A nap, amelyen a bank az átutalásokat teljesíti (éééé.hh.nn)"_s);
    Label6 = label(this, u"Label6"_s, u"Terhelés napja:"_s);
    Label6->setBuddy(Edit3);
    form->addRow(Label6, Edit3);
    outer->addLayout(form);

    model = new PayoutModel(this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(u"DBGrid1"_s);
    DBGrid1->setModel(model);
    DBGrid1->setAccessibleName(u"Kifizetendő tulajdonosok"_s);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    const int ch = DBGrid1->fontMetrics().averageCharWidth();
    DBGrid1->setColumnWidth(0, ch * 30);
    DBGrid1->setColumnWidth(1, ch * 7);
    // A 24-digit number whole.
    DBGrid1->setColumnWidth(3, DBGrid1->fontMetrics().horizontalAdvance(u"00000000-00000000-00000000"_s) +
                                   ch * 4);
    DBGrid1->setColumnWidth(4, ch * 14);
    DBGrid1->setMinimumSize(ch * 140, DBGrid1->verticalHeader()->defaultSectionSize() * 16);
    outer->addWidget(DBGrid1, 1);
    Label3 = label(this, u"Label3"_s, QString());
    Label3->setFont(bold);
    Label3->setTextFormat(Qt::RichText);
    outer->addWidget(Label3);
    outer->addWidget(failureLabel);

    auto *row = new QHBoxLayout;
    Button8 = button(this, u"Button8"_s, u"Kiválaszt - mind"_s, u"Minden sort megjelöl"_s);
    Button3 = button(this, u"Button3"_s, u"Kiválaszt - visszavonása"_s, u"Megjelölés visszavonása"_s);
    Button5 =
        button(this, u"Button5"_s, u"Átutalási fájl"_s,
               u"A megjelöltek átutalási kötegfájlja a bank internetes felületére (ISO 20022 XML és CSV)"_s);
    Button1 = button(this, u"Button1"_s, u"Nyomtat"_s, u"Átutalási lista és postai utalvány lista"_s);
    Button2 = button(this, u"Button2"_s, u"Mégsem"_s, u"Kilépés"_s);
    row->addWidget(Button8);
    row->addWidget(Button3);
    row->addStretch();
    row->addWidget(Button5);
    row->addWidget(Button1);
    row->addWidget(Button2);
    outer->addLayout(row);

    connect(model, &QAbstractItemModel::dataChanged, this, &TForm31::showTotals);
    connect(model, &QAbstractItemModel::modelReset, this, &TForm31::showTotals);
    connect(Button8, &QPushButton::clicked, this, [this] { model->tickAll(true); });
    connect(Button3, &QPushButton::clicked, this, [this] { model->tickAll(false); });
    connect(Button4, &QPushButton::clicked, this, &TForm31::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm31::Button5Click);
    connect(Button1, &QPushButton::clicked, this, &TForm31::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    resize(1100, 640);
}

const QList<payout::Line> &TForm31::lines() const
{
    return model->rows;
}

std::vector<bool> TForm31::payoutTicks() const
{
    return model->ticks;
}

void TForm31::setTicked(int line, bool ticked)
{
    model->setData(model->index(line, 0), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void TForm31::FormShow()
{
    TData &d = Data();
    Edit1->setText(payout::tenantAccount(d));
    if (!rebuild(settlement::Variant::Full, {Button5, Button1, Button8, Button3})) {
        model->reset({});
        return;
    }
    model->reset(payout::lines(d));
}

void TForm31::showTotals()
{
    const payout::Totals t = payout::totals(model->rows, model->ticks);
    QString text = u"Átutalás: %1 fő, %2 &nbsp;&nbsp;&nbsp; Postai utalvány: %3 fő, %4"_s.arg(t.transfers)
                       .arg(forint(t.transferSum).toHtmlEscaped())
                       .arg(t.postal)
                       .arg(forint(t.postalSum).toHtmlEscaped());
    if (t.bad > 0)
        text +=
            u" &nbsp;&nbsp;&nbsp; <span style=\"color:#b00000\">Hibás számlaszám: %1 fő, %2 — nem kerül a "
            u"fájlba</span>"_s.arg(t.bad)
                .arg(forint(t.badSum).toHtmlEscaped());
    Label3->setText(text);
}

void TForm31::Button4Click()
{
    const account::Number n = account::parse(Edit1->text());
    if (n.kind == account::Kind::Invalid)
        ui::confirm(account::warning(Edit1->text()));
    payout::setTenantAccount(Data(), Edit1->text());
    Edit1->setText(payout::tenantAccount(Data()));
}

bool TForm31::makeBatch(payout::Batch &b)
{
    b.debtorAccount = account::parse(Edit1->text());
    if (!b.debtorAccount.valid()) {
        ui::message(
            u"A fizető számla (a bérlő számlaszáma) hiányzik vagy nem helyes. Írja be a „Fizető számla” "
            u"mezőbe; átutalási fájl enélkül nem készül."_s);
        Edit1->setFocus();
        return false;
    }
    const std::optional<QDate> day = formats::parseDate(Edit3->text());
    if (!day) {
        ui::message(u"Hibás dátum!"_s);
        Edit3->setFocus();
        return false;
    }
    if (*day < QDate::currentDate()) {
        ui::message(u"A terhelés napja nem lehet a mai napnál korábbi."_s);
        Edit3->setFocus();
        return false;
    }
    b.remittance = Edit2->text().trimmed();
    if (b.remittance.isEmpty()) {
        ui::message(u"Üres a közlemény!"_s);
        Edit2->setFocus();
        return false;
    }
    b.debtorName = Data().ZTable8->fieldText(u"BNeve"_s);
    b.created = QDateTime::currentDateTime();
    b.executionDate = *day;
    for (size_t i = 0; i < model->ticks.size(); ++i)
        if (model->ticks[i] && model->rows[qsizetype(i)].way == payout::Way::Transfer)
            b.lines.append(model->rows[qsizetype(i)]);
    if (b.lines.isEmpty()) {
        ui::message(u"Nincs megjelölt tulajdonos érvényes számlaszámmal: átutalási fájl nem készül."_s);
        return false;
    }
    return true;
}

namespace {
// Writes the file whole or not at all, readable by the user alone (names and account numbers).
bool writeFile(const QString &path, const QByteArray &content)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size() || !f.commit()) {
        ui::error(u"A fájl nem írható: %1\n%2"_s.arg(QDir::toNativeSeparators(path), f.errorString()));
        return false;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}
} // namespace

void TForm31::Button5Click()
{
    payout::Batch b;
    if (!makeBatch(b))
        return;
    const QString proposed =
        QDir::home().filePath(u"atutalas-%1.xml"_s.arg(b.created.toString(u"yyyyMMdd"_s)));
    QString xmlPath = ui::saveFileName(this, u"Átutalási fájl mentése"_s, proposed,
                                       u"Átutalási köteg, ISO 20022 (*.xml)"_s);
    if (xmlPath.isEmpty())
        return;
    if (QFileInfo(xmlPath).suffix().compare(u"xml"_s, Qt::CaseInsensitive) != 0)
        xmlPath += u".xml"_s;
    const QString csvPath = xmlPath.left(xmlPath.size() - 4) + u".csv"_s;
    for (const QString &p : {xmlPath, csvPath})
        if (QFileInfo::exists(p) &&
            !ui::ask(u"A fájl már létezik:\n%1\n\nFelülírja?"_s.arg(QDir::toNativeSeparators(p))))
            return;
    if (!writeFile(xmlPath, payout::pain001(b)) || !writeFile(csvPath, payout::csv(b)))
        return;
    const payout::Totals t = payout::totals(model->rows, model->ticks);
    QString done = u"Az átutalási fájl elkészült: %1 tétel, összesen %2.\n%3\n\nUgyanezek CSV-ben:\n%4"_s
                       .arg(b.lines.size())
                       .arg(forint(b.controlSum()), QDir::toNativeSeparators(xmlPath),
                            QDir::toNativeSeparators(csvPath));
    if (t.bad > 0)
        done += u"\n\n%1 megjelölt tulajdonos hibás számlaszám miatt nem került a fájlba."_s.arg(t.bad);
    done += u"\n\nA kifizetést a bank teljesítése után a „Csoportos feladás” ablakban rögzítse."_s;
    ui::message(done);
}

void TForm31::Button1Click()
{
    TData &d = Data();
    report::RowTable &transfers = d.rowTable(u"frAtutalas"_s);
    report::RowTable &postal = d.rowTable(u"frUtalvany"_s);
    transfers.setColumns({u"kod"_s, u"nev"_s, u"cim"_s, u"szamla"_s, u"iban"_s, u"osszeg"_s});
    postal.setColumns({u"kod"_s, u"nev"_s, u"irszam"_s, u"helyseg"_s, u"utca"_s, u"cim"_s, u"osszeg"_s});
    qint64 transferSum = 0, postalSum = 0;
    for (size_t i = 0; i < model->ticks.size(); ++i) {
        if (!model->ticks[i])
            continue;
        const payout::Line &l = model->rows[qsizetype(i)];
        if (l.way == payout::Way::Transfer) {
            transfers.append(
                {l.code, l.name, l.address(), l.account.display, l.account.iban, double(l.forint)});
            transferSum += l.forint;
        } else if (l.way == payout::Way::Postal) {
            postal.append({l.code, l.name, l.postcode, l.town, l.street, l.address(), double(l.forint)});
            postalSum += l.forint;
        }
    }
    if (transfers.rowCount() == 0 && postal.rowCount() == 0) {
        ui::message(u"Nincs megjelölt tulajdonos átutalásra vagy postai utalványra."_s);
        return;
    }
    const account::Number payer = account::parse(Edit1->text());
    d.variables.set(u"v_fizetoszamla"_s, payer.valid() ? payer.display : Edit1->text().trimmed());
    d.variables.set(u"v_kozlemeny"_s, Edit2->text().trimmed());
    d.variables.set(u"v_terheles"_s, Edit3->text().trimmed());
    d.variables.set(u"v_atutalas"_s, double(transferSum));
    d.variables.set(u"v_utalvany"_s, double(postalSum));
    if (transfers.rowCount() > 0)
        printTemplate(u"atutalas.frf"_s, QPageLayout::Portrait);
    if (postal.rowCount() > 0)
        printTemplate(u"utalvany.frf"_s, QPageLayout::Portrait);
}
