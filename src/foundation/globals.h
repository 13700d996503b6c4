#pragma once
// The module-level values that windows hand to one another outside the data module. They live for
// the whole run and start empty or zero; nothing clears them except the payment register, which
// zeroes the denomination counters at the start of each of its prints.

#include <QChar>
#include <QString>

struct ModuleValues
{
    QString listOrderText;

    QString muvagEditMode;
    QString varosEditMode;
    QString tformaEditMode;
    QString fekvesEditMode;
    QString tulajEditMode;
    QString tablaEditMode;
    QString hasznEditMode;
    QString alreszEditMode;
    QString kifizEditMode;

    QString muvagCode;
    QString varosCode;
    QString tformaCode;
    QString fekvesCode;
    QString tulajCode;
    QString tablaCode;
    QString hasznCode;
    QString hasznEditCode;
    QString alreszCode;
    QString kifizCode;

    qint32 count20000 = 0;
    qint32 count10000 = 0;
    qint32 count5000 = 0;
    qint32 count2000 = 0;
    qint32 count1000 = 0;
    qint32 count500 = 0;
    qint32 count200 = 0;
    qint32 count100 = 0;
    qint32 count50 = 0;
    qint32 count20 = 0;
    qint32 count10 = 0;
    qint32 count5 = 0;

    QChar groupInitial;
};

// The one set of values of the run.
ModuleValues &mv();
