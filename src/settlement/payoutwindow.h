#pragma once
// The rent payout window TForm31 ("Átutalás" under "Kifizetés"): after the payment register's
// rebuild and balance query, every owner still to be paid with the account the money goes to (or a
// postal order), ticked; the batch transfer file of the ticked owners with a valid account, and the
// transfer and postal-order lists. Nothing is posted here.

#include "settlement/payout.h"
#include "settlement/windows.h"

class QLineEdit;
class QTableView;
class PayoutModel;

class TForm31 : public SettlementWindow
{
    Q_OBJECT
public:
    explicit TForm31(QWidget *parent = nullptr);

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QLineEdit *Edit1; // the tenant's paying account
    QLineEdit *Edit2; // the remittance text
    QLineEdit *Edit3; // the day the bank is to execute the transfers
    QTableView *DBGrid1;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button8;

    const QList<payout::Line> &lines() const;
    std::vector<bool> payoutTicks() const;
    void setTicked(int line, bool ticked);

    void Button4Click(); // the tenant's account stored
    void Button5Click(); // Átutalási fájl
    void Button1Click(); // Nyomtat

protected:
    void FormShow() override;

private:
    void showTotals();
    // The batch of the ticked transfers; false (with the reason shown) when none can be made.
    bool makeBatch(payout::Batch &batch);
    PayoutModel *model = nullptr;
};
