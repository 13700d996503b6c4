#include "forms/dbwidgets.h"

#include "foundation/datasource.h"
#include "foundation/query.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace {
// Column widths come from the first rows, not from all of them: a list of 200 000 payments opens
// as fast as one of twenty.
constexpr int kMeasuredRows = 100;
} // namespace

DbGrid::DbGrid(DataSource *source, const QString &name, QWidget *parent)
    : QTableView(parent)
    , src(source)
{
    setObjectName(name);
    setModel(source);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DbGrid::titleClicked);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &cur) {
        if (!syncing && cur.isValid())
            src->setCurrentRow(cur.row());
    });
    connect(source, &DataSource::currentChanged, this, [this] { followCurrent(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] {
        followCurrent();
        measureColumns();
    });
    followCurrent();
    measureColumns();
}

void DbGrid::measureColumns()
{
    // The widest of the title and the texts of the first rows, measured with the font's advances
    // (the item delegate's full text layout per cell costs tenths of a second on a long list).
    const QFontMetrics fm(font());
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 4;
    const int rows = qMin(model()->rowCount(), kMeasuredRows);
    contentWidths.clear();
    for (int c = 0; c < model()->columnCount(); ++c) {
        int w = horizontalHeader()->sectionSizeHint(c);
        for (int r = 0; r < rows; ++r)
            w = qMax(w, fm.horizontalAdvance(model()->index(r, c).data().toString()) + margin);
        contentWidths << w;
    }
    fitColumns();
}

void DbGrid::fitColumns()
{
    int used = 0;
    for (int c = 0; c < contentWidths.size(); ++c) {
        setColumnWidth(c, contentWidths[c]);
        used += contentWidths[c];
    }
    const int room = viewport()->width() - used;
    if (room > 0 && stretch < contentWidths.size())
        setColumnWidth(stretch, contentWidths[stretch] + room);
}

void DbGrid::setStretchColumn(int column)
{
    stretch = column;
    fitColumns();
}

void DbGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitColumns();
}

void DbGrid::followCurrent()
{
    const int row = src->currentRow();
    if (row < 0 || row >= src->rowCount())
        return;
    syncing = true;
    const QModelIndex idx = src->index(row, qMax(0, currentIndex().column()));
    selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(idx);
    syncing = false;
}

DbNavigator::DbNavigator(DataSource *source, const QString &name, QWidget *parent)
    : QWidget(parent)
    , src(source)
{
    setObjectName(name);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    auto make = [&](const QString &objName, QStyle::StandardPixmap icon, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setObjectName(objName);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::TabFocus);
        row->addWidget(b);
        return b;
    };
    firstButton = make(QStringLiteral("nbFirst"), QStyle::SP_MediaSkipBackward, QStringLiteral("Első sor"));
    priorButton = make(QStringLiteral("nbPrior"), QStyle::SP_MediaSeekBackward, QStringLiteral("Előző sor"));
    nextButton = make(QStringLiteral("nbNext"), QStyle::SP_MediaSeekForward, QStringLiteral("Következő sor"));
    lastButton = make(QStringLiteral("nbLast"), QStyle::SP_MediaSkipForward, QStringLiteral("Utolsó sor"));
    row->addStretch();
    Query *q = src->query();
    connect(firstButton, &QToolButton::clicked, this, [q] { q->first(); });
    connect(priorButton, &QToolButton::clicked, this, [q] { q->prior(); });
    connect(nextButton, &QToolButton::clicked, this, [q] { q->next(); });
    connect(lastButton, &QToolButton::clicked, this, [q] { q->last(); });
    connect(src, &DataSource::currentChanged, this, &DbNavigator::updateButtons);
    connect(src, &QAbstractItemModel::modelReset, this, &DbNavigator::updateButtons);
    updateButtons();
}

void DbNavigator::updateButtons()
{
    Query *q = src->query();
    const int n = q->isOpen() ? q->rowCount() : 0;
    const int r = q->rowIndex();
    firstButton->setEnabled(n > 0 && r > 0);
    priorButton->setEnabled(n > 0 && r > 0);
    nextButton->setEnabled(n > 0 && r < n - 1);
    lastButton->setEnabled(n > 0 && r < n - 1);
}

DbField::DbField(DataSource *source, const QString &field, const QString &name, QWidget *parent)
    : QLineEdit(parent)
    , src(source)
    , fld(field)
{
    setObjectName(name);
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    QPalette p = palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    setPalette(p);
    connect(source, &DataSource::currentChanged, this, &DbField::refresh);
    connect(source, &QAbstractItemModel::modelReset, this, &DbField::refresh);
    refresh();
}

void DbField::refresh()
{
    Query *q = src->query();
    setText(q->isOpen() && q->hasField(fld) ? q->fieldText(fld) : QString());
    setCursorPosition(0);
}

QGroupBox *adataGroup(DataSource *source, const QList<FieldRow> &rows, QWidget *parent, int *fieldNo)
{
    auto *group = new QGroupBox(QStringLiteral("Adata"), parent);
    auto *grid = new QGridLayout(group);
    int number = fieldNo ? *fieldNo : 0;
    int row = 0;
    const int perColumn = (int(rows.size()) + 1) / 2;
    for (const FieldRow &f : rows) {
        const int col = rows.size() > 4 && row >= perColumn ? 2 : 0;
        const int r = col ? row - perColumn : row;
        auto *label = new QLabel(f.label, group);
        auto *cells = new QHBoxLayout;
        DbField *first = nullptr;
        for (const QString &name : f.fields) {
            if (first && !f.between.isEmpty())
                cells->addWidget(new QLabel(f.between, group));
            auto *field = new DbField(source, name, QStringLiteral("DBEdit%1").arg(++number), group);
            field->setAccessibleName(f.label + QLatin1Char(' ') + name);
            // A postcode is five characters: no room wasted on it.
            const bool narrow = name.contains(QLatin1String("rszam"), Qt::CaseInsensitive);
            cells->addWidget(field, narrow ? 0 : 1);
            if (narrow)
                field->setMaximumWidth(field->fontMetrics().averageCharWidth() * 8);
            if (!first)
                first = field;
        }
        label->setBuddy(first);
        grid->addWidget(label, r, col, Qt::AlignRight);
        grid->addLayout(cells, r, col + 1);
        ++row;
    }
    if (fieldNo)
        *fieldNo = number;
    return group;
}
