#include "reports/printing.h"

#include "foundation/tdata.h"
#include "reports/engine/preview.h"

#include <QApplication>

bool printTemplate(const QString &fileName, QPageLayout::Orientation orientation)
{
    TData &d = Data();
    return report::printTemplate(d.frNyomtat, d, d.variables, fileName, orientation,
                                 QApplication::activeWindow());
}
