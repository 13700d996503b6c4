#include "forms/editwindow.h"

#include "foundation/codes.h"
#include "foundation/connection.h"
#include "foundation/formats.h"
#include "foundation/keys.h"
#include "foundation/query.h"
#include "foundation/ui.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Trailing blanks and control characters do not make a name.
QString trimmedRight(const QString &t)
{
    int n = t.size();
    while (n > 0 && (t[n - 1].isSpace() || t[n - 1].category() == QChar::Other_Control))
        --n;
    return t.left(n);
}
} // namespace

EditWindow::EditWindow(EditSpec spec, QWidget *parent)
    : QDialog(parent)
    , s(std::move(spec))
{
    setWindowTitle(s.designCaption);
    outer = new QVBoxLayout(this);
    form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    outer->addLayout(form);
    for (const auto &b : s.boxes) {
        QComboBox *combo = nullptr;
        QLineEdit *e = nullptr;
        if (!b.items.isEmpty()) {
            combo = new QComboBox(this);
            combo->setObjectName(b.name);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->addItems(b.items);
            e = combo->lineEdit();
        } else {
            e = new QLineEdit(this);
            e->setObjectName(b.name);
        }
        QWidget *field = combo ? static_cast<QWidget *>(combo) : e;
        if (b.maxLength > 0)
            e->setMaxLength(b.maxLength);
        e->setText(b.initial);
        e->setToolTip(b.hint);
        e->setReadOnly(b.readOnly || b.hidden);
        if (!b.allowed.isEmpty())
            keys::allowOnly(e, b.allowed);
        if (b.zeroWhenEmpty)
            keys::zeroWhenLeftEmpty(e);
        if (!b.accessibleName.isEmpty())
            field->setAccessibleName(b.accessibleName);
        boxes.insert(b.name, e);
        if (b.hidden) {
            field->hide();
            continue;
        }
        if (!b.readOnly) {
            // The boxes the clerk types into are yellow.
            QPalette p = field->palette();
            p.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xC0));
            field->setPalette(p);
        }
        if (!b.label.isEmpty()) {
            auto *l = new QLabel(b.label, this);
            l->setBuddy(field);
            form->addRow(l, field);
        } else {
            form->addRow(field);
        }
        field->setMinimumWidth(e->fontMetrics().averageCharWidth() * qBound(12, b.maxLength, 46));
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(s.okName);
    ok->setToolTip(QStringLiteral("Adatok letárolása"));
    cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(s.cancelName);
    cancel->setToolTip(s.cancelHint);
    for (auto *b : {ok, cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &EditWindow::OKClick);
    connect(cancel, &QPushButton::clicked, this, &EditWindow::CancelClick);
    if (s.enterMovesFocus)
        keys::enterMovesFocus(this);
    finishLayout();
}

void EditWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!centred) {
        centred = true;
        keys::centreOnScreen(this);
        showMore();
    }
}

void EditWindow::finishLayout()
{
    if (s.fixedSize)
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (!s.tabOrder.isEmpty()) {
        QWidget *prev = nullptr;
        for (const auto &name : s.tabOrder) {
            auto *w = findChild<QWidget *>(name);
            if (!w)
                continue;
            if (prev)
                setTabOrder(prev, w);
            prev = w;
        }
    }
}

QLabel *EditWindow::takeFromForm(QWidget *box)
{
    const QFormLayout::TakeRowResult taken = form->takeRow(box);
    QLabel *label = taken.labelItem ? qobject_cast<QLabel *>(taken.labelItem->widget()) : nullptr;
    delete taken.fieldItem; // the layout items only
    delete taken.labelItem;
    return label;
}

void EditWindow::addSection(QWidget *section)
{
    outer->insertWidget(outer->count() - 1, section);
}

void EditWindow::addSection(QLayout *section)
{
    outer->insertLayout(outer->count() - 1, section);
}

QLineEdit *EditWindow::box(const QString &name) const
{
    return boxes.value(name, nullptr);
}

bool EditWindow::isNewMode() const
{
    return s.editMode && *s.editMode == s.newModeText;
}

bool EditWindow::fill()
{
    setWindowTitle(s.editMode ? *s.editMode : s.designCaption);
    try {
        for (const auto &b : s.boxes)
            if (!b.column.isEmpty())
                boxes[b.name]->setText(s.list->fieldText(b.column));
        fillMore();
    } catch (const std::exception &) {
        ui::message(s.fillFailure);
        failedFill = true;
        reject();
        return false;
    }
    for (auto *e : std::as_const(boxes))
        e->setCursorPosition(0);
    return true;
}

void EditWindow::exec(Query *q, const QStringList &lines)
{
    q->setSql(lines);
    q->execSql();
}

void EditWindow::bind(Query *q, const QList<EditSpec::Binding> &bindings, const QString &newCode)
{
    for (const auto &b : bindings) {
        const QString text = b.box.isEmpty() ? newCode : boxes.value(b.box)->text();
        switch (b.type) {
        case EditSpec::Type::Text:
            q->setText(b.param, text);
            break;
        case EditSpec::Type::Number:
        case EditSpec::Type::CommaNumber: {
            auto v = b.type == EditSpec::Type::CommaNumber && text.contains(QLatin1Char('.'))
                         ? std::nullopt
                         : formats::parseNumber(text);
            if (!v)
                throw DbError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
            q->setNumber(b.param, *v);
            break;
        }
        case EditSpec::Type::Date: {
            auto d = formats::parseDate(text);
            if (!d)
                throw DbError(QStringLiteral("'%1' is not a valid date").arg(text));
            q->setDate(b.param, *d);
            break;
        }
        }
    }
}

void EditWindow::readCarried(QHash<QString, QVariant> &values)
{
    if (s.carried.isEmpty())
        return;
    QStringList cols;
    for (const auto &c : s.carried)
        cols << c.column;
    s.aux->setSql({QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :p0")
                       .arg(cols.join(QStringLiteral(", ")), s.table, s.idColumn)});
    s.aux->setText(QStringLiteral("p0"), boxes.value(s.idBox)->text());
    s.aux->open();
    for (const auto &c : s.carried)
        if (!s.aux->eof() && !s.aux->isNull(c.column))
            values.insert(c.param, c.type == EditSpec::Type::Number ? QVariant(s.aux->fieldNumber(c.column))
                                                                    : QVariant(s.aux->fieldText(c.column)));
}

void EditWindow::OKClick()
{
    // Checks, in order: a failed one names the box and keeps the window open.
    for (const auto &c : s.checks) {
        QLineEdit *e = boxes.value(c.box);
        bool bad = false;
        if (c.kind == EditSpec::Check::Kind::NotBlank)
            bad = trimmedRight(e->text()).trimmed().isEmpty();
        else
            bad = !formats::parseDate(e->text()).has_value();
        if (bad) {
            ui::message(c.message);
            if (c.focus.isEmpty())
                e->setFocus();
            else if (QWidget *w = findChild<QWidget *>(c.focus))
                w->setFocus();
            return;
        }
    }
    if (!checkMore())
        return;

    try {
        if (!isNewMode()) {
            try {
                QHash<QString, QVariant> carried;
                readCarried(carried);
                s.stmt->setSql(s.replaceLines);
                bind(s.stmt, s.replaceBindings, QString());
                for (auto it = carried.cbegin(); it != carried.cend(); ++it) {
                    if (it.value().typeId() == QMetaType::Double)
                        s.stmt->setNumber(it.key(), it.value().toDouble());
                    else
                        s.stmt->setText(it.key(), it.value().toString());
                }
                s.stmt->execSql();
                if (s.codeValue)
                    *s.codeValue = boxes.value(s.codeBox)->text();
                exec(s.stmt, {QStringLiteral("COMMIT")});
            } catch (const std::exception &) {
                ui::message(s.changeFailure);
                exec(s.stmt, {QStringLiteral("ROLLBACK")});
            }
        } else {
            // The highest code is read before the transaction (a failure there is an "other" one),
            // unless the window shows the code already or computes it inside the transaction.
            QString code;
            if (!s.newCodeBox.isEmpty())
                code = boxes.value(s.newCodeBox)->text();
            else if (!s.codeInTransaction)
                code = nextCode(*s.aux, s.table, s.codeField);
            exec(s.stmt, {QStringLiteral("START TRANSACTION")});
            try {
                if (s.newCodeBox.isEmpty() && s.codeInTransaction)
                    code = nextCode(*s.aux, s.table, s.codeField);
                s.stmt->setSql(s.insertLines);
                bind(s.stmt, s.insertBindings, code);
                s.stmt->execSql();
                if (!s.newCodeShownIn.isEmpty())
                    boxes.value(s.newCodeShownIn)->setText(code);
                if (s.codeValue)
                    *s.codeValue = code;
                exec(s.stmt, {QStringLiteral("COMMIT")});
            } catch (const std::exception &) {
                ui::message(s.insertFailure);
                exec(s.stmt, {QStringLiteral("ROLLBACK")});
            }
        }
        // Re-read the list in its default order, on the saved row (also after a refused save).
        s.list->setSql(s.listLinesAfterSaving);
        bind(s.list, s.listBindings, QString());
        s.list->open();
        s.list->locateCode(s.codeField, s.codeValue ? *s.codeValue : QString());
        afterSave();
    } catch (const ConnectionLost &) {
        // Already told that the server went away; the window stays open for OK once it is back.
        return;
    } catch (const std::exception &) {
        ui::message(s.otherFailure);
        return;
    }
    accept();
}

void EditWindow::CancelClick()
{
    reject();
}

namespace boxes {

EditSpec::Box typed(const QString &name, const QString &label, const QString &column, int width,
                    const QString &allowed)
{
    EditSpec::Box b;
    b.name = name;
    b.label = label;
    b.column = column;
    b.maxLength = width;
    b.allowed = allowed;
    return b;
}

EditSpec::Box number(const QString &name, const QString &label, const QString &column)
{
    EditSpec::Box b = typed(name, label, column, 0, QStringLiteral("0123456789,"));
    b.zeroWhenEmpty = true;
    b.initial = QStringLiteral("0");
    return b;
}

EditSpec::Box shown(const QString &name, const QString &label, const QString &column, int width,
                    const QString &accessible)
{
    EditSpec::Box b = typed(name, label, column, width);
    b.readOnly = true;
    b.accessibleName = accessible;
    return b;
}

EditSpec::Box hidden(const QString &name, const QString &column, int width, const QString &accessible)
{
    EditSpec::Box b = shown(name, {}, column, width, accessible);
    b.hidden = true;
    return b;
}

EditSpec::Box choice(const QString &name, const QString &label, const QString &column,
                     const QStringList &items, const QString &initial, int width)
{
    EditSpec::Box b = typed(name, label, column, width);
    b.items = items;
    b.initial = initial;
    return b;
}

} // namespace boxes
