#pragma once
// Small helpers of the register window tests: showing a window, reading the
// grid's current row, the label of a box, the column widths of the schema, the pages of a
// preview, and a screenshot when ZELVANA_SHOTS is set.

#include "forms/dbwidgets.h"
#include "foundation/datasource.h"
#include "foundation/query.h"
#include "reports/engine/document.h"
#include "reports/engine/preview.h"
#include "support/testdb.h"
#include "support/uidriver.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

namespace wt {

// Shows a window the way the menu does (its show handler runs) and waits until it is active.
inline bool showActive(QWidget &w)
{
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// Opens an edit window as its list's "Új" does: the mode value set, the window shown.
template<class W> std::unique_ptr<W> openEditor(QString &modeValue, const QString &mode)
{
    modeValue = mode;
    auto w = std::make_unique<W>();
    if (!showActive(*w))
        return nullptr;
    return w;
}

// Opens an edit window as its list's "Módosít" does: the list query on the row with `code`,
// the mode value set, the fill step, then the window shown.
template<class W>
std::unique_ptr<W> openEditorOn(Query *list, const QStringList &listLines, const QString &codeField,
                                const QString &code, QString &modeValue, const QString &mode)
{
    list->setSql(listLines);
    list->open();
    list->locate(codeField, code);
    modeValue = mode;
    auto w = std::make_unique<W>();
    if (!w->fill() || !showActive(*w))
        return nullptr;
    return w;
}

// Types `text` into `w` key by key, also letters beyond Latin-1 (ő, ű).
inline void type(QWidget *w, const QString &text)
{
    typeText(w, text);
}

// Clicks the title of a grid column (the sort of the list windows).
inline void clickTitle(DbGrid *grid, int column)
{
    QHeaderView *h = grid->horizontalHeader();
    grid->scrollTo(grid->model()->index(0, column));
    QTest::mouseClick(
        h->viewport(), Qt::LeftButton, {},
        QPoint(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2));
}

// Clicks a row of the grid, making it current.
inline void clickRow(DbGrid *grid, int row)
{
    const QModelIndex idx = grid->model()->index(row, 1);
    grid->scrollTo(idx);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(idx).center());
}

// The row (0-based, in the list's current order) whose second column shows `text`.
inline int rowOf(DbGrid *grid, const QString &text)
{
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 1).data().toString() == text)
            return r;
    return -1;
}

// A cell of the grid's current row, as the grid shows it.
inline QString currentCell(DbGrid *grid, const QString &field)
{
    DataSource *src = grid->source();
    for (int c = 0; c < src->columnCount(); ++c)
        if (src->fieldAt(c).compare(field, Qt::CaseInsensitive) == 0)
            return src->index(grid->currentIndex().row(), c).data().toString();
    return QStringLiteral("<no column %1>").arg(field);
}

// The titles of the grid's columns, in order.
inline QStringList gridTitles(DbGrid *grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return out;
}

// The next control that Tab (and Enter) gives the focus to.
inline QWidget *nextTab(QWidget *from)
{
    QWidget *w = from->nextInFocusChain();
    while (w != from && (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)))
        w = w->nextInFocusChain();
    return w;
}

// The text of the label whose buddy is `box`; empty when it has none.
inline QString labelOf(QWidget *window, QWidget *box)
{
    for (QLabel *l : window->findChildren<QLabel *>())
        if (l->buddy() == box)
            return l->text();
    return QString();
}

// The width of a text column as the schema gives it.
inline int columnWidth(TestDb &db, const QString &table, const QString &column)
{
    return db
        .scalar(QStringLiteral("SELECT CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS "
                               "WHERE TABLE_SCHEMA = '%1' AND TABLE_NAME = '%2' AND COLUMN_NAME = '%3'")
                    .arg(db.name(), table, column))
        .toInt();
}

// Every text of every page.
inline QStringList allTexts(const report::Document &doc)
{
    QStringList out;
    for (int p = 0; p < doc.pageCount(); ++p)
        out << doc.texts(p);
    return out;
}

// True when some text of the pages contains `part`.
inline bool printed(const QStringList &texts, const QString &part)
{
    for (const auto &t : texts)
        if (t.contains(part))
            return true;
    return false;
}

// Clicks a print button and returns every text of the pages the preview shows (in page order);
// `pages`, when given, receives the page count. The template must be in the working folder.
inline QStringList printedTexts(UiDriver &driver, QAbstractButton *print, int *pages = nullptr,
                                std::vector<QStringList> *perPage = nullptr)
{
    QStringList texts;
    driver.onModal([&](QDialog &d) {
        auto *p = qobject_cast<report::PreviewDialog *>(&d);
        QVERIFY(p);
        if (pages)
            *pages = p->document().pageCount();
        texts = allTexts(p->document());
        if (perPage)
            for (int i = 0; i < p->document().pageCount(); ++i)
                perPage->push_back(p->document().texts(i));
    });
    QTest::mouseClick(print, Qt::LeftButton);
    return texts;
}

// Copies a template of the source tree into the working folder, where the program looks for it.
inline bool copyTemplate(const QString &name)
{
    const QString from = TestDb::sourceDir() + QStringLiteral("/templates/") + name;
    const QString to = QDir::current().filePath(name);
    if (!QFile::exists(from))
        return false;
    QFile::remove(to);
    return QFile::copy(from, to);
}

// A picture of the window for checking its layout by eye; only when ZELVANA_SHOTS is set.
inline void shot(QWidget &w, const QString &name)
{
    if (qEnvironmentVariableIsEmpty("ZELVANA_SHOTS"))
        return;
    QDir().mkpath(QStringLiteral("/tmp/shots"));
    w.grab().save(QStringLiteral("/tmp/shots/%1.png").arg(name));
}

} // namespace wt
