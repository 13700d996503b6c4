#include "foundation/codes.h"

#include "foundation/query.h"
#include "foundation/tdata.h"

QString nextCode(Query &aux, const QString &table, const QString &codeColumn)
{
    aux.setSql({QStringLiteral("SELECT MAX(%1Num) AS greatest FROM %2").arg(codeColumn, table)});
    aux.open();
    const quint64 greatest =
        aux.isNull(QStringLiteral("greatest")) ? 0 : quint64(aux.fieldInt(QStringLiteral("greatest")));
    return QString::number(greatest + 1);
}

QString nextVoucherNumber()
{
    return nextCode(*Data().ZQ91, QStringLiteral("kifiz"), QStringLiteral("kKod"));
}
