#pragma once
// The parcel register: the parcel list TForm13 and the parcel edit window TForm14, members of the
// list and edit window pattern. The edit window picks the parcel's four codes from the code-table
// lists; the location list writes its pick into it.

#include "codetables/codetables.h"
#include "forms/editwindow.h"
#include "forms/listwindow.h"

class QPushButton;

class TForm13 : public ListWindow
{
    Q_OBJECT
public:
    explicit TForm13(QWidget *parent = nullptr);
};

class TForm14 : public EditWindow, public LocationPickTarget
{
    Q_OBJECT
public:
    explicit TForm14(QWidget *parent = nullptr);

    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr;

    void Button1Click(); // Műv.ág
    void Button2Click(); // Helységnév
    void Button3Click(); // Tul.forma
    void Button4Click(); // Fekvés

    // The location list's "Kiválaszt".
    void setLocation(const QString &name, const QString &code) override;

protected:
    void fillMore() override;
};

namespace parcels {
// The print data of the parcel list: the totals into the report variables "v_mAK" and "v_mHA"
// (over every parcel; 0 for an empty table) and the lines with their code-table names in ZQ43.
void preparePrint();
void registerWindows();
} // namespace parcels
