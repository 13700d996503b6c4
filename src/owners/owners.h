#pragma once
// The owner register: the owner list TForm3 and the owner edit window TForm4, members of the
// list and edit window pattern.

#include "forms/editwindow.h"
#include "forms/listwindow.h"

class TForm3 : public ListWindow
{
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
};

class TForm4 : public EditWindow
{
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

protected:
    // A valid Hungarian account number is stored in its hyphenated form; anything else that is not
    // a valid IBAN is warned about and stored as typed.
    bool checkMore() override;
};

namespace owners {
void registerWindows();
}
