#pragma once
// The lease contracts: the contract list TForm15, the contract edit window TForm16 with the items
// of its contract, and the item edit window TForm17, members of the list and edit window pattern.
// Items are stored at once by the item window, under the contract code that the contract window
// worked out when it was shown; OK stores the header under that same code.

#include "forms/editwindow.h"
#include "forms/listwindow.h"

class DbGrid;
class DbNavigator;
class QGroupBox;
class QPushButton;

class TForm15 : public ListWindow
{
    Q_OBJECT
public:
    explicit TForm15(QWidget *parent = nullptr);
};

class TForm16 : public EditWindow
{
    Q_OBJECT
public:
    explicit TForm16(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr; // the owner
    QPushButton *Button1 = nullptr; // "Tulajdonos": the owner pick
    DbGrid *DBGrid1 = nullptr;      // the items
    DbNavigator *DBNavigator1 = nullptr;
    QPushButton *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr; // item Új, Módosít, Töröl

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    // The sums of the items' AK and HA into Edit9 and Edit10.
    void Totals();

protected:
    void fillMore() override;
    void showMore() override;
    bool checkMore() override;
};

class TForm17 : public EditWindow
{
    Q_OBJECT
public:
    // `contractCode`: the code of the contract the contract edit window is editing (its Edit7); a
    // new item is stored under it.
    explicit TForm17(const QString &contractCode, QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr; // the parcel and the branch
    QPushButton *Button1 = nullptr, *Button2 = nullptr;   // "Hrsz" and "Műv.ág": the picks

    void Button1Click();
    void Button2Click();

protected:
    void fillMore() override;
    void showMore() override;

private:
    QString contract;
};

namespace contracts {
// The print data of the contract list: the grand totals into "v_mAK" and "v_mHA", the contracts
// with their owners in ZQ13, the first contract's items in ZQ12 and their totals in ZQ11.
void preparePrint();
void registerWindows();
} // namespace contracts
