#pragma once
// The main window: a menu bar over a green client area. Its creation creates the data module.

#include <QMainWindow>

class QAction;
class QMenu;

class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // False when the start-up failed: the program then ends without showing this window.
    bool startedUp() const { return started; }

    // Enables the items whose windows are registered (called again after registration).
    void updateMenu();

    QMenu *Kifizets1 = nullptr;
    QMenu *Trzsadat1 = nullptr;
    QMenu *Ments1 = nullptr;
    QMenu *Kilps1 = nullptr;

    static const QStringList &startupMessageLines();

public slots:
    void Bizonylat1Click();
    void Jegyzk1Click();
    void Atutalas1Click();
    void Csoportos1Click();
    void Igazols1Click();
    void Bejelents1Click();
    void Lekrdezs4Click();
    void Haszonbrlet1Click();
    void Bevitel1Click();
    void Tbla1Click();
    void mvelsig1Click();
    void Helysgnv2Click();
    void Tulajdonforma2Click();
    void Fekvs2Click();
    void Ellenrzs1Click();
    void Adatments1Click();
    void Vge1Click();
    void Nvjegy1Click();
    void Sg1Click();

private:
    void FormCreate();
    void buildMenu();
    QAction *addItem(QMenu *menu, QMenuBar *bar, const QString &name, const QString &caption,
                     const QString &window, void (TForm1::*handler)());
    void open(const QString &window);

    bool started = false;
    QList<QPair<QAction *, QString>> items; // item and the window it opens
};
