#pragma once
// The print preview and the one function through which the program prints a template.

#include "reports/engine/report.h"

#include <QDialog>
#include <QPageLayout>
#include <memory>

class QPrinter;
class QMenu;

namespace report {

class PageView;

// A printer for a document: the default printer, or, when no printer is installed, a PDF printer,
// so that the preview opens and the print dialog can still print to a file.
std::unique_ptr<QPrinter> makePrinter(const Document &document);

// Prints the pages the printer's page range asks for (every page when it sets none); false when
// the printer (or the PDF file) could not be opened.
bool printDocument(const Document &document, QPrinter &printer);

// Modal preview: the pages, one visible button that closes it ("Bezár"), zoom from the context
// menu, PgUp/PgDn/Home/End to page, Ctrl+P to print through the print dialog.
class PreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PreviewDialog(const Document &document, QWidget *parent = nullptr);
    ~PreviewDialog() override;

    const Document &document() const { return doc; }
    PageView *previewWidget() const { return preview; }
    QMenu *contextMenu() const { return menu; }
    QPrinter &printer() const { return *printerPtr; }
    // The print dialog (through the ui seam), then the pages onto the chosen printer or file.
    void print();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void goToPage(int page);

    const Document &doc;
    std::unique_ptr<QPrinter> printerPtr;
    PageView *preview = nullptr;
    QMenu *menu = nullptr;
};

// Loads `fileName` from the current working directory (anew at every print), builds it over
// `data` and shows the preview; returns when the preview closes. "Cannot open file %s" when the
// file cannot be read; a template or build error shows a box titled "Error" and no preview.
// `orientation` is used when the template does not give one. Returns true when the preview was shown.
bool printTemplate(Report &report, DataContext &data, Variables &variables, const QString &fileName,
                   QPageLayout::Orientation orientation, QWidget *parent = nullptr);

} // namespace report
