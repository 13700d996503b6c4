#include "forms/listwindow.h"

#include "forms/dbwidgets.h"
#include "forms/editwindow.h"
#include "foundation/globals.h"
#include "foundation/keys.h"
#include "foundation/query.h"
#include "foundation/ui.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

ListWindow::ListWindow(ListSpec spec, QWidget *parent)
    : QDialog(parent)
    , s(std::move(spec))
{
    setWindowTitle(s.caption);
    // On creation: the opening order caption.
    mv().listOrderText = s.openingCaption;

    auto *outer = new QVBoxLayout(this);

    auto *searchRow = new QHBoxLayout;
    Label19 = new QLabel(s.searchLabel, this);
    Label19->setObjectName(QStringLiteral("Label19"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(QStringLiteral("Kezdö betükre rákeres"));
    Label19->setBuddy(Edit1);
    Button6 = new QPushButton(QStringLiteral("Keres"), this);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->setToolTip(QStringLiteral("Keresés inditása"));
    searchRow->addWidget(Label19);
    searchRow->addWidget(Edit1, 1);
    searchRow->addWidget(Button6);
    outer->addLayout(searchRow);

    GroupBox1 = adataGroup(s.source, s.adata, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    outer->addWidget(GroupBox1);

    Label18 = new QLabel(this);
    Label18->setObjectName(QStringLiteral("Label18"));
    QFont bold = Label18->font();
    bold.setBold(true);
    Label18->setFont(bold);
    outer->addWidget(Label18);

    s.source->setColumns(s.gridColumns);
    DBGrid1 = new DbGrid(s.source, QStringLiteral("DBGrid1"), this);
    DBGrid1->setToolTip(s.hintGrid);
    DBGrid1->setAccessibleName(s.caption);
    DBGrid1->setMinimumHeight(DBGrid1->verticalHeader()->defaultSectionSize() * 12);
    outer->addWidget(DBGrid1, 1);

    DBNavigator1 = new DbNavigator(s.source, QStringLiteral("DBNavigator1"), this);
    outer->addWidget(DBNavigator1);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *buttons = new QHBoxLayout(Panel1);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto make = [&](QPushButton *&b, const QString &name, const QString &caption, const QString &hint,
                    void (ListWindow::*handler)()) {
        b = new QPushButton(caption, Panel1);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
    };
    make(Button2, QStringLiteral("Button2"), QStringLiteral("Új"), s.hintNew, &ListWindow::Button2Click);
    make(Button3, QStringLiteral("Button3"), QStringLiteral("Módosít"), s.hintChange,
         &ListWindow::Button3Click);
    make(Button4, QStringLiteral("Button4"), QStringLiteral("Töröl"), s.hintDelete,
         &ListWindow::Button4Click);
    make(Button5, QStringLiteral("Button5"), QStringLiteral("Mégsem"), s.hintCancel,
         &ListWindow::Button5Click);
    make(Button1, QStringLiteral("Button1"), QStringLiteral("Kiválaszt"), s.hintPick,
         &ListWindow::Button1Click);
    make(Button7, QStringLiteral("Button7"), QStringLiteral("Nyomtat"), s.hintPrint,
         &ListWindow::Button7Click);
    Button6->setAutoDefault(false);
    for (const auto &name : std::as_const(s.buttonOrder))
        buttons->addWidget(Panel1->findChild<QPushButton *>(name));
    outer->addWidget(Panel1);

    // Tab order: search box, search button, the grid, the navigator, then the buttons.
    QList<QWidget *> chain{Edit1, Button6, DBGrid1};
    for (QWidget *b : {DBNavigator1->firstButton, DBNavigator1->priorButton, DBNavigator1->nextButton,
                       DBNavigator1->lastButton})
        chain << b;
    for (const auto &name : std::as_const(s.buttonTabOrder))
        chain << Panel1->findChild<QPushButton *>(name);
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    connect(Button6, &QPushButton::clicked, this, &ListWindow::Button6Click);
    connect(DBGrid1, &DbGrid::titleClicked, this, &ListWindow::DBGrid1TitleClick);
    // The search runs on every key press with the text as it stood before the key.
    keys::onKeyPressBefore(Edit1, [this](const QString &before) { search(before); });
    if (s.enterMovesFocus)
        keys::enterMovesFocus(this);
    if (s.fixedSize)
        outer->setSizeConstraint(QLayout::SetFixedSize);
    resize(640, 520);
}

void ListWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!shown) {
        shown = true;
        keys::centreOnScreen(this);
        FormShow();
    }
}

void ListWindow::FormShow()
{
    s.list->setSql(s.defaultLines);
    s.list->open();
    s.list->locateCode(s.codeField, s.codeValue ? *s.codeValue : QString());
    Label18->setText(mv().listOrderText);
    DBGrid1->setFocus();
    Edit1->setFocus();
}

void ListWindow::search(const QString &text, bool readAgain)
{
    // The list is re-read in its default order, unless it already holds exactly that and nothing
    // was written since: a key press then costs the locate alone.
    if (readAgain) {
        s.list->setSql(s.defaultLines);
        s.list->open();
    } else {
        s.list->reopen(s.defaultLines);
    }
    s.list->locate(s.searchField, text);
    Label18->setText(s.searchCaption);
}

void ListWindow::Button6Click()
{
    search(Edit1->text(), true);
}

void ListWindow::DBGrid1TitleClick(int column)
{
    for (const auto &sort : std::as_const(s.sorts)) {
        if (sort.column != column)
            continue;
        s.list->setSql(sort.lines);
        s.list->open();
        Label18->setText(sort.caption);
        return;
    }
}

const ListSpec::Use *ListWindow::firstUse(const QList<ListSpec::Use> &uses)
{
    for (const ListSpec::Use &use : uses) {
        s.usageQuery->setSql(use.lines);
        s.usageQuery->setText(QStringLiteral("p1"), s.list->fieldText(use.codeField));
        s.usageQuery->open();
        // An unused code gives no row at all: db then reads as 0.
        if (s.usageQuery->fieldInt(QStringLiteral("db")) != 0)
            return &use;
    }
    return nullptr;
}

void ListWindow::openEditor(bool change)
{
    if (change && s.beforeChange)
        s.beforeChange();
    *s.editMode = change ? s.changeModeText : s.newModeText;
    std::unique_ptr<EditWindow> editor(s.makeEditor(this));
    if (change && !editor->fill())
        return;
    ui::showModal(*editor);
}

void ListWindow::Button2Click()
{
    openEditor(false);
}

void ListWindow::Button3Click()
{
    if (const ListSpec::Use *use = firstUse(s.usesOnChange))
        ui::confirm(use->message); // the answer changes nothing
    openEditor(true);
}

void ListWindow::Button4Click()
{
    if (const ListSpec::Use *use = firstUse(s.usesOnDelete)) {
        ui::confirm(use->message);
        return;
    }
    s.countQuery->setSql(s.countLines);
    s.countQuery->open();
    if (s.countQuery->fieldInt(QStringLiteral("db")) < 2) {
        ui::message(QStringLiteral("Egy sornak maradni kell, nem törölhető ki."));
        return;
    }
    try {
        s.deleteQuery->setSql(s.deleteLines);
        s.deleteQuery->setText(QStringLiteral("p1"), s.list->fieldText(s.deleteCodeField));
        s.deleteQuery->execSql();
        ui::message(s.deletedMessage);
        s.list->refresh();
    } catch (const std::exception &) {
        ui::message(s.deleteFailedMessage);
    }
}

void ListWindow::Button7Click()
{
    if (s.print)
        s.print();
}

void ListWindow::Button1Click()
{
    if (s.onPick)
        s.onPick(*this);
    accept();
}

void ListWindow::Button5Click()
{
    reject();
}
