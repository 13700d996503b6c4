#include "foundation/codes.h"

#include "foundation/query.h"

QString nextCode(Query &query, const QString &codeField)
{
    // Text order would put 9 after 10 and hand out 10 twice; compare as numbers instead.
    quint64 greatest = 0;
    for (int r = 0; r < query.rowCount(); ++r) {
        query.setRowIndex(r);
        bool ok = false;
        const quint64 v = query.fieldText(codeField).trimmed().toULongLong(&ok);
        if (ok && v > greatest)
            greatest = v;
    }
    query.last();
    return QString::number(greatest + 1);
}
