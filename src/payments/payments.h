#pragma once
// The payments: the payment list TForm20 and the payment entry window TForm19 (in money or in
// produce), members of the list and edit window pattern.

#include "forms/editwindow.h"
#include "forms/listwindow.h"

class QGroupBox;
class QPushButton;

class TForm20 : public ListWindow
{
    Q_OBJECT
public:
    explicit TForm20(QWidget *parent = nullptr);
};

class TForm19 : public EditWindow
{
    Q_OBJECT
public:
    explicit TForm19(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr; // the owner
    QPushButton *Button3 = nullptr; // "Név választás"

    // Fills the window from the current row of the payment list (change mode); false when that
    // failed (its message shown): the window is then not opened.
    bool loadCurrentPayment() { return fill(); }
    // What the owner of the current row of ZQ30 has been paid so far, into Edit11.
    void f_reszosszes();
    void Button3Click();

protected:
    void fillMore() override;
    void showMore() override;
    bool checkMore() override;
    void afterSave() override;

private:
    // Leaving the quantity or the unit price: an empty box becomes "0", the amount their product.
    void computeAmount(QLineEdit *left);
    void checkDate();
};

namespace payments {
// The print data of the payment list: the grand total into "v_mFt", the payments with their
// owners in ZQ93.
void preparePrint();
void registerWindows();
} // namespace payments
